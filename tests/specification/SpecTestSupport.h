#pragma once
// A program folder in a temporary directory with a specification model on a scripted platform,
// and a way to load specification text into it.

#include <string>
#include <string_view>
#include <vector>

#include "FakePlatform.h"
#include "TempDir.h"
#include "specification/SpecLoader.h"

namespace kestrune::testing {

struct SpecHarness {
    SpecHarness() { state.Fields.platform = fake; }

    // Writes `bytes` as SpecFiles/<name> and loads it.
    void Load(std::string_view bytes, std::string_view name = "test.zrs") {
        LoadSpecification(state, dir.Write("SpecFiles/" + std::string(name), bytes));
    }

    std::vector<std::string> SyntaxErrors() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& m : fake.messages) {
            if (m.title == "Kestrune Error") {
                texts.push_back(m.text);
            }
        }
        return texts;
    }

    std::vector<std::string> ProgramNames() const {
        std::vector<std::string> names;
        for (const auto& program : state.Programs) {
            names.push_back(program->Name);
        }
        return names;
    }

    TempDir dir;
    FakePlatform fake;
    FieldContext fields;
    SpecificationModel state{fields, dir.path()};
};

// Joins lines with CR LF, each line ended.
inline std::string CrLfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

}  // namespace kestrune::testing
