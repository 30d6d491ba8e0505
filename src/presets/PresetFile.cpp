#include "presets/PresetFile.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/FileIo.h"
#include "base/LineReader.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "specification/SpecLoader.h"
#include "specification/SpecReader.h"

namespace kestrune {

namespace {

constexpr std::string_view kSignature = "zrp200";
constexpr std::string_view kClassPrefix = "[class = ";

void ShowError(const SpecificationModel& model, const std::string& text) {
    model.Fields.platform.get().ShowMessage(MessageKind::Error, text);
}

// Reads one preset file line by line. The reader never holds a program across a "SpecFile"
// line, the only place where the programs can be replaced.
class PresetReader {
  public:
    PresetReader(SpecificationModel& model, PresetInput& input, PresetMode mode)
        : model_(model), input_(input), mode_(mode) {
        IndexPrograms();
    }

    // False when the reading had to stop (the preset's specification is missing).
    bool ReadLine(std::string_view line);
    void Finish();

    // The preset's own line number, for its messages; a specification loaded on the way
    // counts its lines apart.
    std::int32_t LineNumber = 1;
    // Lines without "=", which are skipped. Only the first kShownBadLines get a message each:
    // a damaged file of many lines must not bury the window under message boxes.
    static constexpr std::size_t kShownBadLines = 10;
    std::size_t BadLines = 0;
    // One message for the bad lines beyond those shown.
    void ReportUnshownBadLines() const;

  private:
    enum class Section { Header, Program, Skipped };

    void IndexPrograms();
    TZRGroup* MatchClassHeader(std::string_view line) const;
    // Ends the current section: its pending field goes to its own program, nothing of it is
    // carried into the next section.
    void EndSection();
    void ApplyPending();
    bool ReadHeaderKey();
    void ReadProgramKey(std::string_view line);
    bool SwitchSpecification();

    SpecificationModel& model_;
    PresetInput& input_;
    PresetMode mode_;
    // First program, in specification order, for each lower-cased name.
    std::unordered_map<std::string, TZRGroup*> programsByName_;

    Section section_ = Section::Header;
    TZRGroup* program_ = nullptr;
    bool hasPending_ = false;
    std::string pendingHeader_;
    bool pendingChecked_ = false;
    std::string pendingValue_;

    std::string key_;
    std::string value_;
};

void PresetReader::IndexPrograms() {
    programsByName_.clear();
    programsByName_.reserve(model_.Programs.size());
    for (const auto& program : model_.Programs) {
        programsByName_.emplace(LowerAscii(program->Name), program.get());
    }
}

TZRGroup* PresetReader::MatchClassHeader(std::string_view line) const {
    if (line.size() <= kClassPrefix.size() || line.back() != ']' ||
        !EqualsNoCase(line.substr(0, kClassPrefix.size()), kClassPrefix)) {
        return nullptr;
    }
    const std::string_view name =
        line.substr(kClassPrefix.size(), line.size() - kClassPrefix.size() - 1);
    const auto found = programsByName_.find(LowerAscii(name));
    return found != programsByName_.end() ? found->second : nullptr;
}

void PresetReader::ApplyPending() {
    if (hasPending_ && section_ == Section::Program) {
        program_->ApplyPresetField(pendingHeader_, pendingChecked_, pendingValue_);
    }
    hasPending_ = false;
    pendingChecked_ = false;
    pendingValue_.clear();
}

void PresetReader::ReportUnshownBadLines() const {
    if (BadLines > kShownBadLines) {
        ShowSpecError(model_.Fields.platform, std::to_string(BadLines - kShownBadLines) +
                                                  " more lines without \"=\" were skipped.");
    }
}

void PresetReader::EndSection() {
    ApplyPending();
    program_ = nullptr;
}

bool PresetReader::ReadLine(std::string_view line) {
    if (line == "[Header]") {
        EndSection();
        section_ = Section::Header;
        return true;
    }
    if (TZRGroup* program = MatchClassHeader(line)) {
        EndSection();
        section_ = Section::Program;
        program_ = program;
        return true;
    }
    Platform& messages =
        BadLines < kShownBadLines ? model_.Fields.platform.get() : SilentPlatform();
    if (!SplitKeyValue(messages, line, LineNumber, key_, value_)) {
        ++BadLines;
        return true;
    }
    // A class header that names no loaded program, whatever its spacing: its fields must not
    // land on the program read before it.
    if (key_ == "[class") {
        EndSection();
        section_ = Section::Skipped;
        return true;
    }
    switch (section_) {
        case Section::Header:
            return ReadHeaderKey();
        case Section::Program:
            ReadProgramKey(line);
            return true;
        case Section::Skipped:
            return true;
    }
    return true;
}

bool PresetReader::ReadHeaderKey() {
    if (key_ == "specfile") {
        return SwitchSpecification();
    }
    if (key_ == "file" && FileExists(value_)) {
        SetInputFile(input_, model_.Fields, value_);
        if (model_.Listener != nullptr) {
            model_.Listener->InputFileSet(value_);
        }
    }
    return true;
}

void PresetReader::ReadProgramKey(std::string_view line) {
    if (key_ == "run") {
        if (ParseBoolean(value_).value_or(false)) {
            program_->Run = true;
        }
    } else if (key_ == "checked") {
        pendingChecked_ = ParseBoolean(value_).value_or(false);
    } else if (key_ == "value") {
        pendingValue_ = value_;
    } else if (key_ == "[field") {
        if (hasPending_) {
            ApplyPending();
        }
        hasPending_ = true;
        pendingHeader_.assign(line);
    }
}

bool PresetReader::SwitchSpecification() {
    const std::string& name = value_;
    const bool loaded = EqualsNoCase(name, model_.SpecFileName);
    if (loaded || mode_ == PresetMode::Import) {
        for (const auto& program : model_.Programs) {
            program->ResetFields();
        }
        for (StageItem& stage : model_.Stages) {
            stage.checked = false;
        }
    } else {
        // The preset names a file of the specification folder, never a path. Going on without
        // it would pass another specification's values off as this preset.
        const std::string path = model_.SpecFilePath(name);
        if (FileNamePart(name) != std::string_view(name) || !FileExists(path)) {
            ShowError(model_, QuotedLine(path) + " not found.");
            return false;
        }
        LoadSpecification(model_, input_, path);
        IndexPrograms();
    }
    for (const auto& program : model_.Programs) {
        program->BeginPresetLoad();
    }
    if (!loaded && mode_ == PresetMode::Import) {
        return true;  // the check mark stays with the specification that is still loaded
    }
    if (model_.Listener != nullptr) {
        model_.Listener->SpecificationNamed(name);
    }
    return true;
}

void PresetReader::Finish() {
    ApplyPending();
    for (const auto& program : model_.Programs) {
        program->EndPresetLoad();
    }
    // With several programs of one name the last one decides the stage's tick.
    std::unordered_map<std::string, bool> runByName;
    runByName.reserve(model_.Programs.size());
    for (const auto& program : model_.Programs) {
        runByName[LowerAscii(program->Name)] = program->Run;
    }
    for (StageItem& stage : model_.Stages) {
        const auto found = runByName.find(LowerAscii(stage.caption));
        if (found != runByName.end()) {
            stage.checked = found->second;
        }
    }
}

}  // namespace

namespace {

// Hands the preset's text to `sink` piece by piece, so a large preset is never held whole.
template <typename Sink>
void EmitPreset(const SpecificationModel& model, const PresetInput& input, Sink&& sink) {
    std::string header = "ZRP200\r\n\r\n[Header]\r\nSpecFile = " + model.SpecFileName + "\r\n";
    if (input.RememberFile) {
        header.append("File = ").append(input.InputFile);
    } else {
        header.append("File =");
    }
    header.append("\r\n\r\n");
    sink(header);
    for (const auto& program : model.Programs) {
        std::string section = program->GetPresetSection();
        section.append("\r\n\r\n");
        sink(section);
    }
}

}  // namespace

std::string PresetText(const SpecificationModel& model, const PresetInput& input) {
    std::string text;
    EmitPreset(model, input, [&text](std::string_view piece) { text.append(piece); });
    return text;
}

bool WritePreset(SpecificationModel& model, const PresetInput& input, const std::string& path) {
    try {
        // Whole, so that a character the code page cannot hold stops the write before any of it.
        WriteSharedTextFile(path, PresetText(model, input));
    } catch (const IoError& error) {
        ShowError(model, error.what());
        return false;
    }
    model.Fields.PresetChanged = false;
    return true;
}

bool ReadPreset(SpecificationModel& model, PresetInput& input, const std::string& path,
                PresetMode mode) {
    std::string bytes;
    try {
        bytes = ReadSharedTextFile(path);
    } catch (const IoError& error) {
        ShowError(model, error.what());
        return false;
    }
    return ReadPresetText(model, input, bytes, path, mode);
}

bool ReadPresetText(SpecificationModel& model, PresetInput& input, std::string_view bytes,
                    const std::string& path, PresetMode mode) {
    LineReader lines(bytes);
    std::string line;
    if (!lines.Next(line) || !EqualsNoCase(line, kSignature)) {
        ShowError(model, path + " is not a valid .zrp v200 file.");
        return false;
    }
    PresetReader reader(model, input, mode);
    while (lines.Next(line)) {
        ++reader.LineNumber;
        const std::string_view trimmed = TrimView(line);
        if (trimmed.empty()) {
            continue;
        }
        if (!reader.ReadLine(trimmed)) {
            return false;  // the reason it stopped is the message that matters
        }
    }
    reader.ReportUnshownBadLines();
    reader.Finish();
    model.Fields.PresetChanged = false;
    return true;
}

}  // namespace kestrune
