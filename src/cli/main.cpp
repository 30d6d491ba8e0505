#include "CliApp.h"

int main(int argc, char** argv) {
    return kestrune::cli::Run(argc, argv);
}
