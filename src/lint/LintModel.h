#pragma once
// What the lint reads from a specification file: its programs, fields and layout lines with the
// places they were written, and the findings collected on the way.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lint/LintFinding.h"

namespace kestrune::lint {

enum class FieldKind { Label, Spaces, Check, Edit, Combo, Browse, Color };

// "CheckBox", "EditBox", ... as authors write them.
std::string_view KindName(FieldKind kind);

struct Place {
    int line = 0;
    int column = 0;
};

struct Field {
    FieldKind kind = FieldKind::Label;
    std::string caption;
    Place at;  // the element line's key
    std::string param;
    // The switch or the value can hold a file-system name, which the script quotes.
    bool carriesNames = false;
    std::vector<std::string> groups;  // lower-cased program names it lends to
    Place groupsAt;
    bool added = false;  // its block was closed, so the field exists
};

struct Program {
    std::string name;
    std::string lowerName;
    Place at;  // the Group line's value
    bool requireExe = false;
    bool created = false;  // has an element line, so it is a program with a tab
    std::vector<Field> fields;
};

struct LayoutLine {
    std::string text;  // as the reader keeps it: comment cut, trimmed
    Place at;          // where the text starts
};

struct Document {
    std::vector<Program> groups;  // every Group block in file order, with or without fields
    std::vector<LayoutLine> layout;
    bool stoppedAtError = false;
};

class Findings {
  public:
    void Add(Place at, LintSeverity severity, std::string_view rule, std::string message,
             std::string suggestion = {});
    std::vector<LintFinding>& Items() { return items_; }

  private:
    std::vector<LintFinding> items_;
};

// Reads the file as the specification reader does, with the same stops at syntax errors, and
// reports what a single line shows: syntax errors, unknown keys, unreadable values, comments
// that cut text, blocks never closed, keys that no longer take effect.
void ReadDocument(std::string_view bytes, Document& document, Findings& findings);

// What needs the whole file: the layout's variables and the programs they name, stages no line
// runs, duplicate names, the order of command-line values.
void CheckDocument(const Document& document, Findings& findings);

// Reports a "$" word in `text` that is one slip away from a variable; `at` is the place of
// text[0].
void CheckVariableTypos(std::string_view text, Place at, Findings& findings);

}  // namespace kestrune::lint
