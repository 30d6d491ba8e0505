// The specification reader and grammar on any bytes, loaded twice into the same model, so that
// a reload over a (possibly partly built) model is covered as well; and the lint on the same
// bytes, whose syntax errors must be the reader's, word for word and line for line.

#include <cstdlib>

#include "FuzzSupport.h"
#include "base/ScriptedPlatform.h"
#include "lint/Lint.h"
#include "specification/SpecLoader.h"
#include "specification/SpecificationModel.h"

using namespace kestrune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const std::string path = fuzz::WriteInFolder("SpecFiles/fuzz.zrs", bytes);
    ScriptedPlatform platform;
    FieldContext fields;
    SpecificationModel model(fields, fuzz::ProgramFolder());
    model.Fields.platform = platform;
    LoadSpecification(model, path);
    LoadSpecification(model, path);

    std::vector<std::string> lintErrors;
    for (const LintFinding& finding : LintSpecification(bytes)) {
        if (finding.line < 1 || finding.column < 1 || finding.rule.empty() ||
            finding.message.find('\n') != std::string::npos) {
            std::abort();
        }
        if (finding.rule == "syntax-error") {
            lintErrors.push_back(finding.message + "\r\nLine: " + std::to_string(finding.line));
        }
    }
    // The reader showed its message once per load.
    std::vector<std::string> readerErrors;
    for (std::size_t i = 0; i < platform.messages.size() / 2; ++i) {
        readerErrors.push_back(platform.messages[i].text);
    }
    if (lintErrors != readerErrors) {
        std::abort();
    }
    return 0;
}
