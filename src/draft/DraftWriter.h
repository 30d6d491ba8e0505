#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draft/HelpReader.h"

namespace kestrune {

enum class DraftKind { Label, CheckBox, EditBox, ComboBox, BrowseBox };

// One element of the drafted program group, before it is written as text.
struct DraftField {
    DraftKind kind = DraftKind::CheckBox;
    std::string caption;
    std::string param;
    std::string type;          // edit box: "int", "float" or empty; browse box: "file" or "path"
    std::string defaultValue;  // edit and combo box
    std::string options;       // combo box: "name,value|name,value"
    int width = 1;
    std::string hint;
};

// What the draft is about: the specification's name, its one program's name and the executable.
struct DraftSource {
    std::string name;
    std::string program;
    std::string executable;
};

struct Draft {
    std::string specification;   // the .zrs text
    std::string toolPaths;       // the tool path file's text
    std::size_t fieldCount = 0;  // fields that are not labels
};

// The fields for a help text: a label per heading with options, then a field per option that
// does more than print and exit.
std::vector<DraftField> PlanFields(const HelpText& help);

// A program name that the layout's "$ClassEXE=" can name: the tool's base name with anything
// but letters, digits, '.', '-' and '_' made '_'.
std::string ProgramNameFor(std::string_view tool);

// Text for a value of a specification: one line, no "//" (which would start a comment).
std::string SpecificationText(std::string_view text);

// The layout line that runs the program on the input file, its output and errors into the
// input's .log: with "-i" before the input when the usage asks for "-i infile", and an output
// file beside the input when the usage names one that is not optional ("outfile", "output").
std::string RunLine(const HelpText& help, const std::string& program);

Draft WriteDraft(const HelpText& help, const DraftSource& source);

}  // namespace kestrune
