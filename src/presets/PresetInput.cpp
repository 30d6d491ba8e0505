#include "presets/PresetInput.h"

#include "base/Paths.h"
#include "specification/SpecLoader.h"

namespace kestrune {

namespace {

// Clears the input file on a reset, then passes the reset on to the model's own listener.
class InputReset final : public StateListener {
  public:
    InputReset(PresetInput& input, StateListener* next) : input_(input), next_(next) {}

    void SpecificationReset() override {
        input_.InputFile.clear();
        if (next_ != nullptr) {
            next_->SpecificationReset();
        }
    }

  private:
    PresetInput& input_;
    StateListener* next_;
};

}  // namespace

void SetInputFile(PresetInput& input, FieldContext& fields, const std::string& path) {
    input.InputFile = path;
    fields.Files.InputFolder = FolderWithoutSeparator(path);
    fields.Files.InputName = std::string(BaseNamePart(path));
    fields.Files.InputExt = std::string(ExtensionWithoutDot(path));
    if (input.RememberFile) {
        fields.PresetChanged = true;
    }
}

void LoadSpecification(SpecificationModel& model, PresetInput& input, const std::string& path) {
    InputReset reset(input, model.Listener);
    LoadSpecification(model, path, &reset);
}

}  // namespace kestrune
