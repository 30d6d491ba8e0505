#include "LintCommand.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>

#include "lint/Lint.h"

namespace kestrune::cli {

int RunLint(const std::vector<std::string>& files, bool json, std::ostream& out) {
    // By file name, then as given; each file's findings come sorted by line already.
    std::vector<std::string> order = files;
    std::stable_sort(order.begin(), order.end());
    bool fails = false;
    nlohmann::json array = nlohmann::json::array();
    for (const std::string& path : order) {
        const std::vector<LintFinding> findings = LintSpecificationFile(path);
        fails = fails || FailsLint(findings);
        for (const LintFinding& finding : findings) {
            if (!json) {
                out << FormatFinding(path, finding) << '\n';
                continue;
            }
            nlohmann::json item = {{"file", path},
                                   {"line", finding.line},
                                   {"column", finding.column},
                                   {"severity", SeverityText(finding.severity)},
                                   {"rule", finding.rule},
                                   {"message", finding.message}};
            if (!finding.suggestion.empty()) {
                item["suggestion"] = finding.suggestion;
            }
            array.push_back(std::move(item));
        }
    }
    if (json) {
        out << array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    }
    return fails ? 1 : 0;
}

}  // namespace kestrune::cli
