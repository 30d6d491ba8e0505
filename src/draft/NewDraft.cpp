#include "draft/NewDraft.h"

#include <array>

#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Result.h"
#include "draft/DraftWriter.h"
#include "draft/HelpReader.h"

namespace kestrune {
namespace {

// The part of a help text looked at to tell text from a binary file.
constexpr std::size_t kSniffBytes = 4096;

std::string Joined(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
}

std::string DescribeFailure(const std::string& executable, const std::string& arguments,
                            const HelpCaptureResult& run) {
    if (!run.started) {
        return executable + " could not be started: " + run.error;
    }
    if (run.timedOut) {
        return executable + " " + arguments + " did not end within the time limit";
    }
    if (run.crashed) {
        return executable + " " + arguments + " crashed";
    }
    return {};
}

}  // namespace

bool LooksLikeText(std::string_view text) {
    const std::string_view head = text.substr(0, kSniffBytes);
    std::size_t control = 0;
    for (char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            return false;
        }
        if (byte < 32 && c != '\n' && c != '\r' && c != '\t' && c != '\f' && c != '\x1b' &&
            c != '\b') {
            ++control;
        }
    }
    return control * 20 <= head.size();
}

namespace {

// The help text of the file the request names; it learns the tool's executable on the way.
Result<HelpText> HelpFromFile(const NewDraftRequest& request, NewDraftResult& result) {
    if (!FileExists(request.helpTextFile)) {
        return Failure{request.helpTextFile + " not found."};
    }
    std::string helpText = ReadSharedTextFile(request.helpTextFile);
    if (helpText.size() > request.limits.bytes) {
        helpText.resize(request.limits.bytes);
    }
    result.executable = FindExecutable(request.tool, request.searchPath);
    if (result.executable.empty()) {
        result.executable = request.tool;  // the path file names it as given
    }
    if (!LooksLikeText(helpText)) {
        return Failure{request.helpTextFile + " is not a help text (it holds binary data)."};
    }
    return ReadHelpText(helpText);
}

// The help the tool prints when asked the usual ways, the first that lists options.
Result<HelpText> HelpFromTool(const NewDraftRequest& request, NewDraftResult& result) {
    result.executable = FindExecutable(request.tool, request.searchPath);
    if (result.executable.empty()) {
        if (request.tool.find_first_of("/\\") == std::string::npos) {
            return Failure{request.tool + " not found on the search path (PATH)."};
        }
        if (FileExists(request.tool)) {
            return Failure{request.tool + " is not an executable file."};
        }
        return Failure{request.tool + " not found."};
    }
    HelpText help;
    static const std::array<const char*, 3> kAsks{"--help", "-h", "help"};
    for (const char* ask : kAsks) {
        const HelpCaptureResult run = CaptureHelp(result.executable, {ask}, request.limits);
        const std::string failure = DescribeFailure(result.executable, ask, run);
        if (!failure.empty()) {
            return Failure{failure + "."};
        }
        if (!LooksLikeText(run.output)) {
            continue;
        }
        help = ReadHelpText(run.output);
        if (help.OptionCount() > 0) {
            break;
        }
    }
    return help;
}

// Writes the draft's two files where the request says, unless one is there and may not be
// replaced.
void WriteDraftFiles(const NewDraftRequest& request, const Draft& draft, const std::string& name,
                     NewDraftResult& result) {
    const std::string fileStem = ProgramNameFor(name);
    result.specPath =
        request.output.empty() ? Joined(request.specFolder, fileStem + ".zrs") : request.output;
    // The tool path file is named like the specification file, in the program folder's Config/.
    result.toolPathFile =
        Joined(request.configFolder, std::string(BaseNamePart(result.specPath)) + ".path");
    for (const std::string& target : {result.specPath, result.toolPathFile}) {
        if (!request.force && FileExists(target)) {
            result.exists = true;
            result.message = target + " exists already; give --force to replace it.";
            return;
        }
    }
    const std::string specFolder(FolderPart(result.specPath));
    if (!specFolder.empty()) {
        EnsureFolder(specFolder);
    }
    EnsureFolder(request.configFolder);
    // Both encoded before either is written: a name the code page cannot hold leaves neither.
    const std::string specification = SharedTextBytes(result.specPath, draft.specification);
    const std::string toolPaths = SharedTextBytes(result.toolPathFile, draft.toolPaths);
    WriteFileReplacing(result.specPath, specification);
    WriteFileReplacing(result.toolPathFile, toolPaths);
    result.written = true;
}

}  // namespace

NewDraftResult MakeNewDraft(const NewDraftRequest& request) {
    NewDraftResult result;
    const Result<HelpText> help = request.helpTextFile.empty() ? HelpFromTool(request, result)
                                                               : HelpFromFile(request, result);
    if (!help) {
        result.message = help.Error();
        return result;
    }
    result.optionCount = help->OptionCount();
    const std::string toolName(
        BaseNamePart(request.tool.empty() ? result.executable : request.tool));
    DraftSource source;
    source.name = request.name.empty() ? toolName : request.name;
    source.program =
        ProgramNameFor(BaseNamePart(result.executable).empty() ? std::string_view(toolName)
                                                               : BaseNamePart(result.executable));
    source.executable = result.executable;
    const Draft draft = WriteDraft(*help, source);
    result.fieldCount = draft.fieldCount;
    if (draft.fieldCount == 0) {
        result.message = "no options found in the help of " +
                         (request.helpTextFile.empty() ? result.executable : request.helpTextFile) +
                         "; nothing was written.";
        return result;
    }
    WriteDraftFiles(request, draft, source.name, result);
    return result;
}

}  // namespace kestrune
