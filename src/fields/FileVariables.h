#pragma once
// The five file variables that field parameters and layout lines may hold.

#include <string>
#include <string_view>

#include "fields/ShellQuoting.h"

namespace kestrune {

struct FileVariables {
    std::string BasePath;     // "$BasePath": the configured base path
    std::string FileDest;     // "$FileDest": the configured destination path
    std::string InputFolder;  // "$FilePath": the input file's folder without its final separator
    std::string InputName;    // "$FileName": the input file's name without folder and extension
    std::string InputExt;     // "$FileExt": the input file's extension without its point
    // The shell that reads the script, whose quoting the inserted paths follow.
    ScriptShell Shell = kScriptShell;
};

// The values as they stand in a text once every file variable is replaced: the variables are
// replaced in a fixed order and each step also replaces what earlier values brought in, so a
// value that names a later variable ("B$FileName") holds that variable's value. A value that
// would grow past `limit` bytes this way keeps its own text.
FileVariables ChainedFileValues(const FileVariables& vars,
                                std::size_t limit = std::size_t{1} << 20);

// Replaces "$BasePath", "$FilePath", "$FileExt", "$FileName" and "$FileDest", in that order,
// every occurrence, letters compared without case. Each value is quoted for its place in the
// text, read as the shell reads a line that has `before` in front of the text; a later variable
// named in an earlier value is replaced before the value is quoted, so that quoting cannot
// leave a stray escape where it was.
std::string ExpandFileVariables(std::string_view text, const FileVariables& vars,
                                std::string_view before = {});

}  // namespace kestrune
