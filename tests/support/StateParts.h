#pragma once
// The parts of the state that the core works on, held together as the application holds them,
// for tests of the layers below the application.

#include <string>
#include <utility>

#include "fields/FieldContext.h"
#include "presets/PresetInput.h"
#include "script/ScriptSettings.h"
#include "specification/SpecificationModel.h"

namespace kestrune::testing {

struct StateParts {
    explicit StateParts(std::string programFolder = {})
        : Specification(Fields, std::move(programFolder)) {}
    StateParts(const StateParts&) = delete;
    StateParts& operator=(const StateParts&) = delete;

    FieldContext Fields;
    SpecificationModel Specification;
    ScriptSettings Script;
    PresetInput Input;
};

}  // namespace kestrune::testing
