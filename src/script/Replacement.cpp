#include "script/Replacement.h"

#include <algorithm>

#include "base/Text.h"
#include "script/ScriptLimits.h"

namespace kestrune::expansion {

bool ReplaceAll(std::string& text, std::string_view pattern, std::string_view value,
                std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t at = FindNoCase(text, pattern); at != std::string::npos;
         at = FindNoCase(text, pattern, at + pattern.size())) {
        ++count;
    }
    if (count == 0) {
        return false;
    }
    std::size_t size = text.size() - count * pattern.size();
    if (value.size() > 0 && (count > limit / value.size() || size > limit - count * value.size())) {
        throw ScriptTooLarge(limit);
    }
    size += count * value.size();
    std::string result;
    result.reserve(size);
    std::size_t done = 0;
    for (std::size_t at = FindNoCase(text, pattern); at != std::string::npos;
         at = FindNoCase(text, pattern, at + pattern.size())) {
        result.append(text, done, at - done).append(value);
        done = at + pattern.size();
    }
    result.append(text, done, std::string::npos);
    text = std::move(result);
    return true;
}

const std::string& QuotedForms::At(const ShellContext& context) {
    for (const auto& [known, quoted] : forms_) {
        if (known == context) {
            return *quoted;
        }
    }
    forms_.emplace_back(context, std::make_unique<std::string>(QuoteName(value_, context)));
    return *forms_.back().second;
}

bool ReplaceAllQuoted(std::string& text, std::string_view pattern, std::string_view value,
                      ScriptShell shell, std::size_t limit, const ShellReader* start) {
    if (IsPlainName(value, shell)) {
        return ReplaceAll(text, pattern, value, limit);
    }
    std::size_t at = FindNoCase(text, pattern);
    if (at == std::string::npos) {
        return false;
    }
    QuotedForms forms(value);
    ShellReader reader = start != nullptr ? *start : ShellReader(shell);
    std::string result;
    result.reserve(std::min(text.size() + value.size() + 2, limit));
    auto append = [&](std::string_view piece) {
        if (piece.size() > limit - result.size()) {
            throw ScriptTooLarge(limit);
        }
        result.append(piece);
    };
    std::size_t done = 0;
    for (; at != std::string::npos; at = FindNoCase(text, pattern, at + pattern.size())) {
        const std::string_view between = std::string_view(text).substr(done, at - done);
        reader.Read(between);
        append(between);
        const std::string& quoted = forms.At(reader.Here());
        reader.Read(quoted);
        append(quoted);
        done = at + pattern.size();
    }
    append(std::string_view(text).substr(done));
    text = std::move(result);
    return true;
}

bool ReplaceNamed(std::string& text, std::string_view prefix, const std::string& name,
                  const std::string& value, std::size_t limit, std::optional<ScriptShell> shell,
                  const ShellReader* start) {
    const std::string unquoted = std::string(prefix) + name;
    const std::string pattern =
        ContainsNoCase(text, unquoted) ? unquoted : std::string(prefix) + "'" + name + "'";
    return shell ? ReplaceAllQuoted(text, pattern, value, *shell, limit, start)
                 : ReplaceAll(text, pattern, value, limit);
}

bool IsNeutral(std::string_view text, ScriptShell shell) {
    if (text.empty()) {
        return false;
    }
    if (shell == ScriptShell::Cmd) {
        return text.find_first_of("\"^") == std::string_view::npos;
    }
    return text.find_first_of("'\"\\`()$#") == std::string_view::npos &&
           std::string_view(" \t\n;&|<>").find(text.back()) == std::string_view::npos;
}

bool CouldBeginVariable(std::string_view text, std::size_t at) {
    for (const std::string_view keyword : {kExePrefix, kParamPrefix}) {
        std::size_t k = 0;
        while (k < keyword.size() && at + k < text.size() &&
               LowerAscii(text[at + k]) == LowerAscii(keyword[k])) {
            ++k;
        }
        if (k == keyword.size() || at + k == text.size()) {
            return true;
        }
    }
    return false;
}

bool CouldFormVariable(std::string_view value) {
    for (std::size_t at = value.find('$'); at != std::string_view::npos;
         at = value.find('$', at + 1)) {
        if (CouldBeginVariable(value, at)) {
            return true;
        }
    }
    return false;
}

}  // namespace kestrune::expansion
