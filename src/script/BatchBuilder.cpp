#include "script/BatchBuilder.h"

#include "base/FileIo.h"
#include "base/Text.h"
#include "script/Expansion.h"

namespace kestrune {

namespace {

void ShowError(const ScriptState& state, const std::string& text) {
    if (state.platform != nullptr) {
        state.platform->ShowMessage(MessageKind::Error, text);
    }
}

// Writes the script in one go; a failed write leaves the previous script as it was.
bool WriteScript(const ScriptState& state, const std::string& path, const std::string& bytes) {
    try {
        WriteFileReplacing(path, bytes);
        MakeExecutableByOwner(path);
        return true;
    } catch (const IoError& error) {
        ShowError(state, error.what());
        return false;
    }
}

// True when the lower-cased line names the program's executable in either form.
bool NamesExecutable(const std::string& lowerLine, const std::string& lowerName) {
    if (lowerName.empty()) {
        return false;
    }
    return lowerLine.find("$classexe=" + lowerName) != std::string::npos ||
           lowerLine.find("$classexe='" + lowerName + "'") != std::string::npos;
}

bool SelectedForStage(const std::string& line, const std::string& lowerName) {
    const std::string lower = LowerAscii(line);
    if (NamesExecutable(lower, lowerName)) {
        return true;
    }
    return lower.find("$classexe=") == std::string::npos &&
           lower.find("$classparam=") == std::string::npos;
}

}  // namespace

void ComputeCommandLine(ScriptState& state, std::size_t index) {
    if (index >= state.Programs.size()) {
        return;
    }
    TZRGroup& program = *state.Programs[index];
    const std::string own = program.GetParams();

    std::string directed;
    for (std::size_t other = 0; other < state.Programs.size(); ++other) {
        if (other == index) {
            continue;
        }
        const std::string lent = state.Programs[other]->GetParamsFor(program.Name);
        if (directed.empty()) {
            directed = lent;
        } else {
            // Appended even when empty, so the blanks of lenders with nothing to give remain.
            directed.append(" ").append(lent);
        }
    }

    std::string commandLine = own;
    if (!own.empty() && !directed.empty()) {
        commandLine.append(" ");
    }
    commandLine.append(directed);
    program.CommandLine = Trim(commandLine);
}

bool WriteBatch(ScriptState& state, const std::string& path) {
    std::string missing;
    for (const auto& program : state.Programs) {
        if (program->RequireExe && program->Run && !FileExists(program->ToolPath)) {
            missing.append("Group = ").append(program->Name).append(kCrLf);
        }
    }
    if (!missing.empty()) {
        ShowError(state, "The path for the following groups could not be found:\r\n" + missing +
                             "Please set these paths up.");
        return false;
    }

    for (const auto& program : state.Programs) {
        program->ClearEmptyFields();
    }
    for (std::size_t i = 0; i < state.Programs.size(); ++i) {
        ComputeCommandLine(state, i);
    }

    std::string script;
    for (const std::string& line : state.LayoutLines) {
        const std::string expanded = ExpandLine(state, line, ExpandMode::WholeRun);
        if (!expanded.empty()) {
            script.append(expanded).append(kScriptLineEnd);
        }
    }
    return WriteScript(state, path, script);
}

bool WriteStageBatch(ScriptState& state, const std::string& path, std::size_t index) {
    if (index >= state.Programs.size()) {
        return false;
    }
    TZRGroup& program = *state.Programs[index];
    if (!FileExists(program.ToolPath)) {
        ShowError(state, "The path for " + program.Name + " could not be found.");
        return false;
    }

    program.ClearEmptyFields();
    ComputeCommandLine(state, index);

    const std::string lowerName = LowerAscii(program.Name);
    std::string script;
    for (const std::string& line : state.LayoutLines) {
        if (SelectedForStage(line, lowerName)) {
            script.append(ExpandLine(state, line, ExpandMode::SingleStage)).append(kScriptLineEnd);
        }
    }
    return WriteScript(state, path, script);
}

}  // namespace kestrune
