#pragma once

#include <cstddef>
#include <string>

#include "draft/HelpCapture.h"

namespace kestrune {

// What `kestrune-cli new` and the window's "New Specification from Program..." ask for.
struct NewDraftRequest {
    std::string tool;          // a name found on the search path, or a path
    std::string helpTextFile;  // read instead of running the tool, when not empty
    std::string output;        // the .zrs to write; empty: <specFolder>/<name>.zrs
    std::string name;          // the specification's name; empty: the tool's base name
    bool force = false;        // replace an existing specification and tool path file
    std::string specFolder;    // the program folder's SpecFiles/
    std::string configFolder;  // the program folder's Config/
    std::string searchPath;    // PATH's value
    HelpCaptureLimits limits;
};

struct NewDraftResult {
    bool written = false;
    bool exists = false;   // not written: the specification or tool path file is there already
    std::string message;   // why nothing was written
    std::string specPath;  // the specification written (or that would be)
    std::string toolPathFile;
    std::string executable;
    std::size_t fieldCount = 0;
    std::size_t optionCount = 0;  // options the help lists
};

// Reads the tool's help (running it with --help, then -h, then help, until one lists options)
// and writes the draft specification and its tool path file.
NewDraftResult MakeNewDraft(const NewDraftRequest& request);

// The help text's first lines look like text, not like a binary file.
bool LooksLikeText(std::string_view text);

}  // namespace kestrune
