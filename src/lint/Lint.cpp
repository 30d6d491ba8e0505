#include "lint/Lint.h"

#include <algorithm>

#include "base/FileIo.h"
#include "lint/LintModel.h"

namespace kestrune {

namespace lint {

void Findings::Add(Place at, LintSeverity severity, std::string_view rule, std::string message,
                   std::string suggestion) {
    items_.push_back({std::max(at.line, 1), std::max(at.column, 1), severity, std::string(rule),
                      std::move(message), std::move(suggestion)});
}

}  // namespace lint

std::string_view SeverityText(LintSeverity severity) {
    switch (severity) {
        case LintSeverity::Error:
            return "error";
        case LintSeverity::Warning:
            return "warning";
        case LintSeverity::Note:
            return "note";
    }
    return "note";
}

std::vector<LintFinding> LintSpecification(std::string_view bytes) {
    lint::Document document;
    lint::Findings findings;
    lint::ReadDocument(bytes, document, findings);
    lint::CheckDocument(document, findings);
    std::vector<LintFinding>& items = findings.Items();
    std::stable_sort(items.begin(), items.end(), [](const LintFinding& a, const LintFinding& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return std::move(items);
}

std::vector<LintFinding> LintSpecificationFile(const std::string& path) {
    try {
        if (!FileExists(path)) {
            return {{1, 1, LintSeverity::Error, "unreadable-file", path + " not found.", {}}};
        }
        return LintSpecification(ReadSharedTextFile(path));
    } catch (const IoError& error) {
        return {{1, 1, LintSeverity::Error, "unreadable-file", error.what(), {}}};
    }
}

std::string FormatFinding(std::string_view path, const LintFinding& finding) {
    std::string text(path);
    text.append(":").append(std::to_string(finding.line));
    text.append(":").append(std::to_string(finding.column));
    text.append(": ").append(SeverityText(finding.severity));
    text.append(": ").append(finding.message);
    text.append(" [").append(finding.rule).append("]");
    return text;
}

bool FailsLint(const std::vector<LintFinding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const LintFinding& finding) {
        return finding.severity != LintSeverity::Note;
    });
}

}  // namespace kestrune
