#include "NewCommand.h"

#include <new>
#include <ostream>

#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/TextEncoding.h"
#include "draft/NewDraft.h"

namespace kestrune::cli {

CLI::App* AddNewCommand(CLI::App& app, NewOptions& options) {
    CLI::App* command =
        app.add_subcommand("new", "Draft a specification for a command-line tool from its --help");
    command->add_option("TOOL", options.tool, "A program on PATH, or its path")->required();
    command->add_option("--help-text", options.helpText,
                        "Read this saved help text instead of running TOOL");
    command->add_option("-o", options.output,
                        "Specification file to write (default: SpecFiles/NAME.zrs in the home)");
    command->add_option("--name", options.name,
                        "Name of the specification (default: the tool's name)");
    command->add_flag("--force", options.force,
                      "Replace an existing specification and tool path file");
    return command;
}

int RunNew(const NewOptions& options, const std::string& home, std::ostream& out,
           std::ostream& err) {
    NewDraftRequest request;
    request.tool = options.tool;
    request.helpTextFile = options.helpText;
    request.output = options.output;
    request.name = options.name;
    request.force = options.force;
    request.specFolder = WithTrailingSeparator(home) + "SpecFiles";
    request.configFolder = WithTrailingSeparator(home) + "Config";
    request.searchPath = EnvironmentText("PATH").value_or("");
    try {
        const NewDraftResult result = MakeNewDraft(request);
        if (!result.written) {
            err << "kestrune-cli: " << result.message << '\n';
            return 1;
        }
        out << result.specPath << ": " << result.fieldCount << " fields from " << result.optionCount
            << " options of " << result.executable << '\n';
        out << result.toolPathFile << ": names " << result.executable << '\n';
        return 0;
    } catch (const std::bad_alloc&) {
        err << "kestrune-cli: Out of memory\n";
    } catch (const std::exception& error) {
        err << "kestrune-cli: " << error.what() << '\n';
    }
    return 1;
}

}  // namespace kestrune::cli
