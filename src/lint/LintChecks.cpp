// The lint's checks over the whole file: the layout's variables and the programs they name,
// stages that no line runs, duplicate names, and the order values reach a command line in.

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Text.h"
#include "fields/ShellQuoting.h"
#include "lint/LintModel.h"
#include "lint/LintText.h"
#include "script/Replacement.h"

namespace kestrune::lint {

namespace {

constexpr std::size_t npos = std::string_view::npos;
using expansion::kExePrefix;
using expansion::kParamPrefix;

constexpr std::string_view kVariables[] = {"BasePath", "FilePath", "FileExt", "FileName",
                                           "FileDest", "DateTime", "Version", "REDA"};
constexpr std::string_view kTypoTargets[] = {"BasePath",  "FilePath",   "FileExt", "FileName",
                                             "FileDest",  "DateTime",   "Version", "REDA",
                                             "ClassEXE=", "ClassParam="};

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.size() - at >= prefix.size() &&
           EqualsNoCase(text.substr(at, prefix.size()), prefix);
}

bool IsWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A "$" word of `text` at `at` that is no variable but one slip away from one; reports it and
// returns true.
bool ReportTypo(std::string_view text, std::size_t at, Place place, Findings& findings) {
    for (std::string_view variable : kVariables) {
        if (StartsWithNoCase(text, at + 1, variable)) {
            return false;
        }
    }
    std::size_t end = at + 1;
    while (end < text.size() && IsWordByte(text[end])) {
        ++end;
    }
    if (end < text.size() && text[end] == '=') {
        ++end;
    }
    const std::string_view word = text.substr(at + 1, end - at - 1);
    if (word.size() < 3) {
        return false;
    }
    for (std::string_view variable : kTypoTargets) {
        if (EditDistance(word, variable, 1) == 1) {
            const std::string suggestion = "$" + std::string(variable);
            findings.Add(place, LintSeverity::Warning, "variable-typo",
                         Quote(text.substr(at, end - at)) +
                             " is no variable and stays in the text as written (did you mean " +
                             Quote(suggestion) + "?)",
                         suggestion);
            return true;
        }
    }
    return false;
}

// The text a reference names: up to a blank, a quote or a byte that ends a shell word.
std::string_view WrittenName(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && static_cast<unsigned char>(text[end]) > 32 &&
           std::string_view("'\"`;|&<>()$\\/").find(text[end]) == npos) {
        ++end;
    }
    return text.substr(from, end - from);
}

class Checker {
  public:
    Checker(const Document& document, Findings& findings)
        : document_(document), findings_(findings) {
        std::size_t layoutBytes = 0;
        for (const LayoutLine& line : document.layout) {
            layoutBytes += line.text.size();
        }
        budget_ = 64 * layoutBytes + (std::size_t{1} << 20);
        for (std::size_t i = 0; i < document.groups.size(); ++i) {
            const Program& program = document.groups[i];
            if (program.created) {
                programNames_.push_back(program.name);
                lowerNames_.push_back(program.lowerName);
            }
            auto& names = program.created ? programsByName_ : emptyByName_;
            names[program.lowerName].push_back(i);
            if (program.created) {
                lengths_.push_back(program.lowerName.size());
            }
            emptyLengths_.push_back(program.lowerName.size());
        }
        for (auto* lengths : {&lengths_, &emptyLengths_}) {
            std::sort(lengths->begin(), lengths->end());
            lengths->erase(std::unique(lengths->begin(), lengths->end()), lengths->end());
        }
        usedEmpty_.assign(document.groups.size(), 0);
        ranStage_.assign(document.groups.size(), false);
        carriesNames_.assign(document.groups.size(), false);
    }

    void Run() {
        if (document_.stoppedAtError) {
            return;  // what follows the error was never read; its names are unknown
        }
        FindNameCarriers();
        for (const LayoutLine& line : document_.layout) {
            CheckLayoutLine(line);
        }
        if (exhausted_) {
            // Which stages the layout runs is unknown now; saying "never runs" could be wrong.
            findings_.Add(document_.layout.front().at, LintSeverity::Note, "too-complex",
                          "the layout names programs too often to follow every name in "
                          "reasonable time; the later names were not checked");
        }
        CheckPrograms();
    }

  private:
    // The first group, in file order, whose name begins `lower` at `at` and passes `accept`.
    template <typename Accept>
    std::size_t FindNamed(const std::unordered_map<std::string, std::vector<std::size_t>>& names,
                          const std::vector<std::size_t>& lengths, const std::string& lower,
                          std::size_t at, Accept&& accept) {
        std::size_t best = npos;
        for (std::size_t length : lengths) {
            if (length > lower.size() - at) {
                break;
            }
            if (!Spend(length + 1)) {
                return npos;
            }
            const auto found = names.find(lower.substr(at, length));
            if (found == names.end()) {
                continue;
            }
            for (std::size_t index : found->second) {
                if (!Spend(1)) {
                    return npos;
                }
                if (accept(document_.groups[index]) && index < best) {
                    best = index;
                    break;
                }
            }
        }
        return best;
    }

    // Counts work against the budget; false once it is spent, which stops the name checks.
    bool Spend(std::size_t work) {
        if (exhausted_ || work > budget_) {
            exhausted_ = true;
            return false;
        }
        budget_ -= work;
        return true;
    }

    // Suggestions cost a look at every program; a few hundred findings get one.
    template <typename Names>
    std::string_view Suggest(std::string_view written, const Names& names) {
        if (suggestionsLeft_ == 0) {
            return {};
        }
        --suggestionsLeft_;
        return ClosestIn(written, names);
    }

    void FindNameCarriers() {
        std::unordered_map<std::string, std::vector<std::size_t>> lenders;
        for (std::size_t i = 0; i < document_.groups.size(); ++i) {
            for (const Field& field : document_.groups[i].fields) {
                if (!field.carriesNames) {
                    continue;
                }
                carriesNames_[i] = true;
                for (const std::string& target : field.groups) {
                    lenders[target].push_back(i);
                }
            }
        }
        for (std::size_t i = 0; i < document_.groups.size(); ++i) {
            const auto found = lenders.find(document_.groups[i].lowerName);
            if (found == lenders.end()) {
                continue;
            }
            for (std::size_t lender : found->second) {
                carriesNames_[i] = carriesNames_[i] || lender != i;
            }
        }
    }

    void CheckLayoutLine(const LayoutLine& line) {
        const std::string_view text = line.text;
        const std::string lower = LowerAscii(text);
        ShellReader shell;
        std::size_t read = 0;
        for (std::size_t at = text.find('$'); at != npos; at = text.find('$', at + 1)) {
            const Place place{line.at.line, line.at.column + static_cast<int>(at)};
            const bool exe = StartsWithNoCase(text, at, kExePrefix);
            const bool param = !exe && StartsWithNoCase(text, at, kParamPrefix);
            if (!exe && !param) {
                ReportTypo(text, at, place, findings_);
                continue;
            }
            shell.Read(text.substr(read, at - read));
            read = at;
            const std::size_t from = at + (exe ? kExePrefix.size() : kParamPrefix.size());
            CheckReference(text, lower, from, exe, shell.Here(), place, line.at.line);
        }
    }

    // What a `$ClassEXE=` or `$ClassParam=` reference at `from` names: the program (npos for
    // none), the name as written, and whether it was written in quotes ('Name').
    struct Reference {
        std::size_t named = npos;
        std::string_view written;
        bool quotedForm = false;
    };

    Reference ResolveReference(std::string_view text, const std::string& lower, std::size_t from,
                               bool exe) {
        auto accept = [exe](const Program& program) { return !exe || program.requireExe; };
        auto any = [](const Program&) { return true; };
        Reference ref{npos, WrittenName(text, from), false};
        if (from < text.size() && text[from] == '\'') {
            const std::size_t close = text.find('\'', from + 1);
            if (close != npos) {
                ref.quotedForm = true;
                ref.written = text.substr(from + 1, close - from - 1);
                const auto found = programsByName_.find(LowerAscii(ref.written));
                if (found != programsByName_.end()) {
                    for (std::size_t index : found->second) {
                        if (accept(document_.groups[index])) {
                            ref.named = index;
                            break;
                        }
                    }
                    if (ref.named == npos) {
                        ref.named = found->second.front();
                    }
                }
            }
        }
        if (!exhausted_ && !ref.quotedForm) {
            ref.named = FindNamed(programsByName_, lengths_, lower, from, accept);
            if (ref.named == npos) {
                ref.named = FindNamed(programsByName_, lengths_, lower, from, any);
            }
        }
        return ref;
    }

    void CheckReference(std::string_view text, const std::string& lower, std::size_t from, bool exe,
                        const ShellContext& context, Place place, int layoutLine) {
        const Reference ref = ResolveReference(text, lower, from, exe);
        if (exhausted_) {
            return;
        }
        if (ref.named == npos) {
            CheckUnknownReference(ref, lower, from, exe, place, layoutLine);
        } else {
            CheckProgramReference(ref, exe, context, place);
        }
    }

    // A reference that names no program: a program without options is fine (its line is
    // written as is), anything else is an error with the closest name as advice.
    void CheckUnknownReference(const Reference& ref, const std::string& lower, std::size_t from,
                               bool exe, Place place, int layoutLine) {
        auto any = [](const Program&) { return true; };
        const std::string_view prefix = exe ? kExePrefix : kParamPrefix;
        const std::size_t empty = ref.quotedForm
                                      ? FindExact(emptyByName_, ref.written)
                                      : FindNamed(emptyByName_, emptyLengths_, lower, from, any);
        if (exhausted_) {
            return;
        }
        if (empty != npos) {
            if (usedEmpty_[empty] == 0) {
                usedEmpty_[empty] = layoutLine;
            }
            return;
        }
        const std::string reference = std::string(prefix) + std::string(ref.written);
        const std::string_view closest = Suggest(ref.written, programNames_);
        std::string message =
            Quote(reference) + " names no program: it stays in the script as written";
        if (!closest.empty()) {
            message += " (did you mean " + Quote(closest) + "?)";
        }
        findings_.Add(place, LintSeverity::Error, "unknown-program", std::move(message),
                      closest.empty() ? std::string() : std::string(prefix) + std::string(closest));
    }

    void CheckProgramReference(const Reference& ref, bool exe, const ShellContext& context,
                               Place place) {
        const std::string_view prefix = exe ? kExePrefix : kParamPrefix;
        const std::string reference = std::string(prefix) + std::string(ref.written);
        const Program& program = document_.groups[ref.named];
        if (exe && !program.requireExe) {
            findings_.Add(place, LintSeverity::Warning, "exe-not-stage",
                          Quote(reference) + " names the program " + Quote(program.name) +
                              ", which has no \"RequireExe = true\": it has no tool path and the "
                              "text stays in the script as written",
                          "RequireExe = true");
            return;
        }
        if (exe) {
            ranStage_[ref.named] = true;
        }
        if (!ref.quotedForm && program.lowerName.size() < ref.written.size()) {
            const std::size_t longer = FindExact(programsByName_, ref.written);
            if (longer != npos) {
                const std::string suggestion =
                    std::string(prefix) + "'" + std::string(ref.written) + "'";
                findings_.Add(place, LintSeverity::Warning, "name-prefix",
                              Quote(reference) + " is read as the program " + Quote(program.name) +
                                  " followed by " +
                                  Quote(ref.written.substr(program.lowerName.size())) + "; write " +
                                  Quote(suggestion) + " to name " + Quote(ref.written),
                              suggestion);
            }
        }
        if (!exe && context.quote != ShellContext::Quote::None && !context.comment &&
            carriesNames_[ref.named]) {
            findings_.Add(place, LintSeverity::Warning, "param-in-quotes",
                          Quote(reference) +
                              " stands inside quotes, but the names in the command line are quoted "
                              "for a place outside quotes; put it outside the quotes");
        }
    }

    std::size_t FindExact(const std::unordered_map<std::string, std::vector<std::size_t>>& names,
                          std::string_view written) const {
        const auto found = names.find(LowerAscii(written));
        return found == names.end() ? npos : found->second.front();
    }

    void CheckPrograms() {
        std::unordered_map<std::string, std::size_t> firstByName;
        for (std::size_t i = 0; i < document_.groups.size(); ++i) {
            const Program& program = document_.groups[i];
            if (!program.created) {
                CheckEmptyGroup(i);
                continue;
            }
            const auto [first, fresh] = firstByName.emplace(program.lowerName, i);
            if (!fresh) {
                findings_.Add(
                    program.at, LintSeverity::Warning, "duplicate-program",
                    "a second program named " + Quote(program.name) + " (the first is on line " +
                        std::to_string(document_.groups[first->second].at.line) +
                        "): the layout's variables, the tool path and presets all reach the "
                        "first only");
            } else if (program.requireExe && !ranStage_[i] && !exhausted_) {
                findings_.Add(program.at, LintSeverity::Warning, "stage-not-run",
                              "the stage " + Quote(program.name) +
                                  " can be ticked but never runs: no layout line holds " +
                                  Quote(std::string(kExePrefix) + program.name),
                              std::string(kExePrefix) + program.name);
            }
            CheckFields(program);
        }
    }

    void CheckEmptyGroup(std::size_t index) {
        const Program& program = document_.groups[index];
        if (usedEmpty_[index] != 0) {
            findings_.Add(program.at, LintSeverity::Error, "empty-group",
                          "the Group block " + Quote(program.name) +
                              " has no field lines, so it makes no program, yet layout line " +
                              std::to_string(usedEmpty_[index]) +
                              " names it and keeps the variable as written; add a field line (a "
                              "LabelBox will do)",
                          "LabelBox = " + program.name);
            return;
        }
        findings_.Add(program.at, LintSeverity::Warning, "empty-group",
                      "the Group block " + Quote(program.name) +
                          " has no field lines: it makes no program, no tab and no stage; add a "
                          "field line (a LabelBox will do)",
                      "LabelBox = " + program.name);
    }

    void CheckFields(const Program& program) {
        std::unordered_map<std::string, int> captions;
        for (const Field& field : program.fields) {
            if (field.kind == FieldKind::Label || field.kind == FieldKind::Spaces) {
                continue;
            }
            const auto [first, fresh] = captions.emplace(field.caption, field.at.line);
            if (!fresh) {
                findings_.Add(field.at, LintSeverity::Warning, "duplicate-caption",
                              "a second field of " + Quote(program.name) + " captioned " +
                                  Quote(field.caption) + " (the first is on line " +
                                  std::to_string(first->second) +
                                  "): presets and reloads tell the two apart only by their order");
            }
            for (const std::string& target : field.groups) {
                if (!target.empty() && programsByName_.find(target) == programsByName_.end()) {
                    const std::string_view closest = Suggest(target, lowerNames_);
                    std::string message = "Groups names " + Quote(target) +
                                          ", which is no program: the field lends nothing to it";
                    if (!closest.empty()) {
                        message += " (did you mean " + Quote(closest) + "?)";
                    }
                    findings_.Add(field.groupsAt, LintSeverity::Warning, "unknown-group",
                                  std::move(message), std::string(closest));
                }
            }
        }
        CheckValueOrder(program);
    }

    static int KindRank(FieldKind kind) {
        switch (kind) {
            case FieldKind::Check:
                return 0;
            case FieldKind::Edit:
                return 1;
            case FieldKind::Combo:
                return 2;
            case FieldKind::Browse:
                return 3;
            case FieldKind::Color:
                return 4;
            case FieldKind::Label:
            case FieldKind::Spaces:
                break;
        }
        return 5;
    }

    // Values without a switch stand on the command line by their place alone; when the kind
    // order puts two of them the other way round than the file, the author should know.
    void CheckValueOrder(const Program& program) {
        const Field* latest = nullptr;  // the positional value of the highest kind so far
        for (const Field& field : program.fields) {
            const bool positional = field.param.empty() && (field.kind == FieldKind::Edit ||
                                                            field.kind == FieldKind::Browse ||
                                                            field.kind == FieldKind::Color);
            if (!positional) {
                continue;
            }
            if (latest != nullptr && KindRank(field.kind) < KindRank(latest->kind)) {
                findings_.Add(field.at, LintSeverity::Note, "field-order",
                              "the value of " + Quote(field.caption) + " comes before that of " +
                                  Quote(latest->caption) + " (line " +
                                  std::to_string(latest->at.line) +
                                  ") on the command line: fields reach it check boxes first, then "
                                  "edit, combo, browse and colour boxes, each kind in file order");
                return;
            }
            if (latest == nullptr || KindRank(field.kind) > KindRank(latest->kind)) {
                latest = &field;
            }
        }
    }

    const Document& document_;
    Findings& findings_;
    std::unordered_map<std::string, std::vector<std::size_t>> programsByName_;
    std::unordered_map<std::string, std::vector<std::size_t>> emptyByName_;
    std::vector<std::size_t> lengths_;
    std::vector<std::size_t> emptyLengths_;
    std::vector<int> usedEmpty_;  // the first layout line naming an empty group
    std::vector<bool> ranStage_;
    std::vector<bool> carriesNames_;
    std::vector<std::string_view> programNames_;  // of the created programs, in file order
    std::vector<std::string_view> lowerNames_;
    std::size_t budget_ = 0;
    bool exhausted_ = false;
    std::size_t suggestionsLeft_ = 200;
};

}  // namespace

void CheckVariableTypos(std::string_view text, Place at, Findings& findings) {
    for (std::size_t i = text.find('$'); i != npos; i = text.find('$', i + 1)) {
        if (!StartsWithNoCase(text, i, kExePrefix) && !StartsWithNoCase(text, i, kParamPrefix)) {
            ReportTypo(text, i, {at.line, at.column + static_cast<int>(i)}, findings);
        }
    }
}

void CheckDocument(const Document& document, Findings& findings) {
    Checker(document, findings).Run();
}

}  // namespace kestrune::lint
