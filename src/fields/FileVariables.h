#pragma once
// The five file variables that field parameters and layout lines may hold.

#include <string>
#include <string_view>

namespace kestrune {

struct FileVariables {
    std::string BasePath;     // "$BasePath": the configured base path
    std::string FileDest;     // "$FileDest": the configured destination path
    std::string InputFolder;  // "$FilePath": the input file's folder without its final separator
    std::string InputName;    // "$FileName": the input file's name without folder and extension
    std::string InputExt;     // "$FileExt": the input file's extension without its point
};

// Replaces "$BasePath", "$FilePath", "$FileExt", "$FileName" and "$FileDest", in that order,
// every occurrence, letters compared without case.
std::string ExpandFileVariables(std::string_view text, const FileVariables& vars);

}  // namespace kestrune
