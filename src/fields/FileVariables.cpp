#include "fields/FileVariables.h"

#include <array>

#include "base/Text.h"

namespace kestrune {

namespace {

std::size_t CountNoCase(std::string_view text, std::string_view pattern) {
    std::size_t count = 0;
    for (std::size_t at = FindNoCase(text, pattern); at != std::string_view::npos;
         at = FindNoCase(text, pattern, at + pattern.size())) {
        ++count;
    }
    return count;
}

}  // namespace

FileVariables ChainedFileValues(const FileVariables& vars, std::size_t limit) {
    FileVariables chained = vars;
    const std::array<std::pair<std::string_view, std::string*>, 5> steps = {{
        {"$BasePath", &chained.BasePath},
        {"$FilePath", &chained.InputFolder},
        {"$FileExt", &chained.InputExt},
        {"$FileName", &chained.InputName},
        {"$FileDest", &chained.FileDest},
    }};
    const std::array<const std::string*, 5> own = {&vars.BasePath, &vars.InputFolder,
                                                   &vars.InputExt, &vars.InputName, &vars.FileDest};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::string value = *own[i];
        bool fits = true;
        for (std::size_t j = i + 1; j < steps.size() && fits; ++j) {
            const std::size_t count = CountNoCase(value, steps[j].first);
            if (count == 0) {
                continue;
            }
            const std::size_t grown = own[j]->size();
            fits = grown <= steps[j].first.size() ||
                   (count <= limit / grown && value.size() <= limit - count * grown);
            if (fits) {
                value = ReplaceAllNoCase(value, steps[j].first, *own[j]);
            }
        }
        if (fits) {
            *steps[i].second = std::move(value);
        } else {
            *steps[i].second = *own[i];
        }
    }
    return chained;
}

std::string ExpandFileVariables(std::string_view text, const FileVariables& vars,
                                std::string_view before) {
    if (text.find('$') == std::string_view::npos) {
        return std::string(text);  // nothing to replace: the values need not be looked at
    }
    const FileVariables chained = ChainedFileValues(vars);
    std::string result = ReplaceAllQuoted(text, "$BasePath", chained.BasePath, vars.Shell, before);
    result = ReplaceAllQuoted(result, "$FilePath", chained.InputFolder, vars.Shell, before);
    result = ReplaceAllQuoted(result, "$FileExt", chained.InputExt, vars.Shell, before);
    result = ReplaceAllQuoted(result, "$FileName", chained.InputName, vars.Shell, before);
    return ReplaceAllQuoted(result, "$FileDest", chained.FileDest, vars.Shell, before);
}

}  // namespace kestrune
