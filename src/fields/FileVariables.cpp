#include "fields/FileVariables.h"

#include "base/Text.h"

namespace kestrune {

std::string ExpandFileVariables(std::string_view text, const FileVariables& vars) {
    std::string result = ReplaceAllNoCase(text, "$BasePath", vars.BasePath);
    result = ReplaceAllNoCase(result, "$FilePath", vars.InputFolder);
    result = ReplaceAllNoCase(result, "$FileExt", vars.InputExt);
    result = ReplaceAllNoCase(result, "$FileName", vars.InputName);
    return ReplaceAllNoCase(result, "$FileDest", vars.FileDest);
}

}  // namespace kestrune
