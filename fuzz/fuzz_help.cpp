// The help reader and the draft writer on any bytes: whatever a tool prints, the draft is one
// specification whose values hold no comment ("//") and no line break, and it is made in time
// linear in the text (libFuzzer's -timeout catches a slow input).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "draft/DraftWriter.h"
#include "draft/HelpReader.h"

using namespace kestrune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const HelpText help = ReadHelpText(text);
    const Draft draft = WriteDraft(help, DraftSource{"Fuzz", "fuzz", "/usr/bin/fuzz"});
    // The two comment lines at the top are the draft's own; below them no "//" may appear,
    // since it would cut a value short when the specification is read.
    std::size_t body = draft.specification.find("\nSetup = ");
    if (body == std::string::npos || draft.specification.find("//", body) != std::string::npos) {
        std::abort();
    }
    for (char c : draft.specification) {
        if (static_cast<unsigned char>(c) < 32 && c != '\n') {
            std::abort();  // a control character would split or garble a line
        }
    }
    return 0;
}
