#pragma once
// Quoting of file-system text (paths and file names) for the place of a script line where it is
// inserted. Such text is data: whatever bytes a name holds, the shell hands the tool exactly
// that text as (part of) one word. Names made only of harmless characters are left as they are,
// so the scripts of ordinary files do not change.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// The shell that reads the script: /bin/sh for compile.sh, cmd.exe for compile.bat.
enum class ScriptShell : std::uint8_t { Posix, Cmd };

#ifdef _WIN32
inline constexpr ScriptShell kScriptShell = ScriptShell::Cmd;
#else
inline constexpr ScriptShell kScriptShell = ScriptShell::Posix;
#endif

// What the shell is in the middle of at one place of a line.
struct ShellContext {
    enum class Quote : std::uint8_t { None, Single, Double };

    ScriptShell shell = kScriptShell;
    Quote quote = Quote::None;
    // The byte before escapes the next one: a backslash (outside single quotes), or for cmd a
    // caret outside quotes.
    bool escaped = false;
    // POSIX: the byte before is a "$" that the next byte could turn into an expansion.
    bool afterDollar = false;
    // POSIX: inside `…`, whose text passes one more round of backslash removal first.
    bool inBackticks = false;
    // POSIX, inside `…`: a backslash whose meaning depends on the next byte.
    bool backtickBackslash = false;
    // POSIX: in a comment, which only a line end stops.
    bool comment = false;

    bool operator==(const ShellContext&) const = default;
};

// Follows a script as the shell reads it, byte by byte; the shell reads the script as a whole,
// so a reader that has read the lines before a line knows the state that line starts in.
// Command substitutions "$(…)" and "`…`" start afresh, unquoted, as the shell does; when they
// nest deeper than it keeps track of, the rest counts as unquoted. cmd ends its quotes with the
// line.
class ShellReader {
  public:
    explicit ShellReader(ScriptShell shell = kScriptShell);

    void Read(std::string_view text);
    ShellContext Here() const;

  private:
    struct Frame {
        ShellContext::Quote quote = ShellContext::Quote::None;
        bool backticks = false;
        std::uint32_t parens = 0;  // "(" opened inside a "$(" and not yet closed
    };
    void Step(char c);
    void Inner(char c);  // a byte as the innermost command reads it
    void Open(bool backticks);
    void Close();
    bool InBackticks() const { return inBackticks_; }

    ScriptShell shell_;
    std::vector<Frame> frames_;
    bool escaped_ = false;
    bool afterDollar_ = false;
    bool backtickBackslash_ = false;
    bool inBackticks_ = false;  // one frame of `…` at most is followed
    bool wordStart_ = true;     // a "#" here would begin a comment
    bool comment_ = false;
};

// True when `name` goes into a script as it is in every context. For /bin/sh it holds only
// letters, digits and _ @ % + = : , . / -; for cmd no "%", no quote and none of the bytes that
// end a word there.
bool IsPlainName(std::string_view name, ScriptShell shell);

// `name` written so that the shell, reading on from `context`, takes it as literal text of the
// current word and afterwards is in the same quoting as before.
std::string QuoteName(std::string_view name, const ShellContext& context);

// Replaces every `pattern` of `text` (letters compared without case, inserted text not searched
// again) by `value` quoted for its place; `before` is what stands before `text` in its line.
std::string ReplaceAllQuoted(std::string_view text, std::string_view pattern,
                             std::string_view value, ScriptShell shell,
                             std::string_view before = {});

}  // namespace kestrune
