#include "fields/FileVariables.h"

namespace kestrune {

std::string ExpandFileVariables(std::string_view text, const FileVariables& vars,
                                std::string_view before) {
    std::string result = ReplaceAllQuoted(text, "$BasePath", vars.BasePath, vars.Shell, before);
    result = ReplaceAllQuoted(result, "$FilePath", vars.InputFolder, vars.Shell, before);
    result = ReplaceAllQuoted(result, "$FileExt", vars.InputExt, vars.Shell, before);
    result = ReplaceAllQuoted(result, "$FileName", vars.InputName, vars.Shell, before);
    return ReplaceAllQuoted(result, "$FileDest", vars.FileDest, vars.Shell, before);
}

}  // namespace kestrune
