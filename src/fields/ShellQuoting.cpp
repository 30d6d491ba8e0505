#include "fields/ShellQuoting.h"

#include "base/Text.h"

namespace kestrune {

namespace {

using Quote = ShellContext::Quote;

// Beyond this many nested command substitutions the reader stops following the line.
constexpr std::size_t kMaxFrames = 64;

bool IsPosixPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_@%+=:,./-").find(c) != std::string_view::npos;
}

// Bytes that end or change a word for cmd where the line leaves them unquoted.
bool IsCmdSpecial(char c) {
    return std::string_view(" \t&|^<>()").find(c) != std::string_view::npos;
}

// POSIX, the text as it is written for the quoting the shell is in.
std::string PosixBase(std::string_view name, Quote quote) {
    std::string out;
    out.reserve(name.size() + 2);
    switch (quote) {
        case Quote::None:
            out.push_back('\'');
            [[fallthrough]];
        case Quote::Single:
            for (const char c : name) {
                out.append(c == '\'' ? std::string_view("'\\''") : std::string_view(&c, 1));
            }
            if (quote == Quote::None) {
                out.push_back('\'');
            }
            break;
        case Quote::Double:
            for (const char c : name) {
                if (c == '$' || c == '`' || c == '"' || c == '\\') {
                    out.push_back('\\');
                }
                out.push_back(c);
            }
            break;
    }
    return out;
}

// An empty quoted text: after a "$" it keeps the "$" from reaching the name, after a line
// continuation it keeps the name from joining what stood before the backslash.
std::string_view Guard(Quote quote) {
    return quote == Quote::Double ? "\"\"" : "''";
}

// Inside `…` the shell removes one backslash before "\", "`" and "$" before it reads the
// command; this puts one there.
std::string BacktickLayer(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '`' || c == '$') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    return out;
}

std::string QuotePosix(std::string_view name, const ShellContext& context) {
    const Quote quote = context.quote;
    if (context.comment) {
        // Nothing is read from a comment, but a line end would end it: each goes on as one.
        std::string out;
        for (const char c : name) {
            out.append(c == '\n' ? std::string_view("\n#") : std::string_view(&c, 1));
        }
        return context.inBackticks ? BacktickLayer(out) : out;
    }
    if (context.inBackticks) {
        std::string out;
        if (quote == Quote::Single) {
            // A pending backslash is literal in single quotes; the guard keeps it off the name.
            if (context.backtickBackslash) {
                out.append(Guard(quote));
            }
        } else if (context.escaped && context.backtickBackslash) {
            // The held backslash and this one make one for the command, which the backslash it
            // already holds takes as a literal one; the name then stands unescaped.
            out.push_back('\\');
        } else if (context.escaped || context.backtickBackslash) {
            out.append("\n").append(Guard(quote));  // the backslash and the line end vanish
        } else if (context.afterDollar) {
            out.append(Guard(quote));
        }
        return out.append(BacktickLayer(PosixBase(name, quote)));
    }
    if (context.escaped) {
        // The backslash before takes the name's first byte as it is, as it would for any name,
        // unless that byte is a line end: then both go as a line continuation.
        if (name.front() == '\n') {
            return std::string("\n").append(Guard(quote)).append(PosixBase(name, quote));
        }
        if (quote == Quote::None) {
            std::string out(1, name.front());
            const std::string_view rest = name.substr(1);
            return out.append(IsPlainName(rest, ScriptShell::Posix) ? std::string(rest)
                                                                    : PosixBase(rest, quote));
        }
        const char first = name.front();
        if (first == '$' || first == '`' || first == '"' || first == '\\') {
            return std::string(1, first).append(PosixBase(name.substr(1), quote));
        }
        return PosixBase(name, quote);
    }
    if (context.afterDollar) {
        return std::string(Guard(quote)).append(PosixBase(name, quote));
    }
    return PosixBase(name, quote);
}

std::string QuoteCmd(std::string_view name, const ShellContext& context) {
    auto doubled = [](std::string_view text) {
        std::string out;
        out.reserve(text.size());
        for (const char c : text) {
            out.append(c == '%' ? std::string_view("%%") : std::string_view(&c, 1));
        }
        return out;
    };
    if (context.quote != Quote::None) {
        return doubled(name);
    }
    auto unquoted = [&](std::string_view text) {
        for (const char c : text) {
            if (IsCmdSpecial(c)) {
                return "\"" + doubled(text) + "\"";
            }
        }
        return doubled(text);
    };
    if (context.escaped) {
        // The caret before takes the first byte as it is.
        return doubled(name.substr(0, 1)) + unquoted(name.substr(1));
    }
    return unquoted(name);
}

}  // namespace

ShellReader::ShellReader(ScriptShell shell) : shell_(shell), frames_(1) {}

void ShellReader::Read(std::string_view text) {
    for (const char c : text) {
        if (frames_.empty()) {
            return;
        }
        Step(c);
    }
}

void ShellReader::Open(bool backticks) {
    if (frames_.size() >= kMaxFrames) {
        frames_.clear();  // lost track: the rest counts as unquoted
        return;
    }
    frames_.push_back({Quote::None, backticks, 0});
    inBackticks_ = inBackticks_ || backticks;
}

void ShellReader::Close() {
    if (frames_.size() > 1) {
        inBackticks_ = inBackticks_ && !frames_.back().backticks;
        frames_.pop_back();
    }
}

void ShellReader::Step(char c) {
    if (shell_ == ScriptShell::Cmd) {
        Frame& frame = frames_.back();
        if (c == '\r') {
            return;  // cmd drops carriage returns before it reads a line
        }
        if (c == '\n' && !escaped_) {
            frame.quote = Quote::None;  // a quote ends with its line
            return;
        }
        if (escaped_) {
            escaped_ = false;
        } else if (c == '"') {
            frame.quote = frame.quote == Quote::None ? Quote::Double : Quote::None;
        } else if (c == '^' && frame.quote == Quote::None) {
            escaped_ = true;
        }
        return;
    }
    if (!inBackticks_) {
        Inner(c);
        return;
    }
    if (backtickBackslash_) {
        backtickBackslash_ = false;
        if (c == '\\' || c == '`' || c == '$') {
            Inner(c);
            return;
        }
        Inner('\\');
    }
    if (c == '\\') {
        backtickBackslash_ = true;
    } else if (c == '`') {
        while (frames_.size() > 1 && !frames_.back().backticks) {
            frames_.pop_back();
        }
        Close();
        escaped_ = false;
        afterDollar_ = false;
        comment_ = false;
        wordStart_ = false;
    } else {
        Inner(c);
    }
}

void ShellReader::Inner(char c) {
    if (comment_) {
        comment_ = c != '\n';
        wordStart_ = !comment_;
        return;
    }
    Frame& frame = frames_.back();
    const bool dollar = afterDollar_;
    const bool wordStart = wordStart_;
    afterDollar_ = false;
    wordStart_ = false;
    if (escaped_) {
        escaped_ = false;
        return;
    }
    switch (frame.quote) {
        case Quote::Single:
            if (c == '\'') {
                frame.quote = Quote::None;
            }
            return;
        case Quote::Double:
            if (c == '\\') {
                escaped_ = true;
            } else if (c == '"') {
                frame.quote = Quote::None;
            } else if (c == '$') {
                afterDollar_ = true;
            } else if (c == '(' && dollar) {
                Open(false);
            } else if (c == '`' && !InBackticks()) {
                Open(true);
            }
            return;
        case Quote::None:
            // A blank or an operator ends a word; a "#" that begins one begins a comment.
            if (std::string_view(" \t\n;&|()<>").find(c) != std::string_view::npos) {
                wordStart_ = true;
            }
            if (c == '#' && wordStart) {
                comment_ = true;
            } else if (c == '\\') {
                escaped_ = true;
            } else if (c == '\'') {
                frame.quote = Quote::Single;
            } else if (c == '"') {
                frame.quote = Quote::Double;
            } else if (c == '$') {
                afterDollar_ = true;
            } else if (c == '(') {
                if (dollar) {
                    Open(false);
                } else if (frames_.size() > 1 && !frame.backticks) {
                    ++frame.parens;
                }
            } else if (c == ')') {
                if (frames_.size() > 1 && !frame.backticks) {
                    if (frame.parens > 0) {
                        --frame.parens;
                    } else {
                        Close();
                        wordStart_ = false;  // the substitution's word goes on
                    }
                }
            } else if (c == '`' && !InBackticks()) {
                Open(true);
            }
            return;
    }
}

ShellContext ShellReader::Here() const {
    ShellContext context;
    context.shell = shell_;
    if (frames_.empty()) {
        return context;
    }
    context.quote = frames_.back().quote;
    context.escaped = escaped_;
    context.afterDollar = afterDollar_;
    context.inBackticks = inBackticks_;
    context.backtickBackslash = backtickBackslash_;
    context.comment = comment_;
    return context;
}

bool IsPlainName(std::string_view name, ScriptShell shell) {
    for (const char c : name) {
        const bool plain = shell == ScriptShell::Posix
                               ? IsPosixPlain(c)
                               : c != '%' && c != '"' && c != '^' && !IsCmdSpecial(c);
        if (!plain) {
            return false;
        }
    }
    return true;
}

std::string QuoteName(std::string_view name, const ShellContext& context) {
    if (IsPlainName(name, context.shell)) {
        return std::string(name);
    }
    return context.shell == ScriptShell::Cmd ? QuoteCmd(name, context) : QuotePosix(name, context);
}

std::string ReplaceAllQuoted(std::string_view text, std::string_view pattern,
                             std::string_view value, ScriptShell shell, std::string_view before) {
    if (IsPlainName(value, shell)) {
        return ReplaceAllNoCase(text, pattern, value);
    }
    ShellReader reader(shell);
    reader.Read(before);
    std::string out;
    std::size_t done = 0;
    for (std::size_t at = FindNoCase(text, pattern); at != std::string_view::npos;
         at = FindNoCase(text, pattern, at + pattern.size())) {
        const std::string_view between = text.substr(done, at - done);
        reader.Read(between);
        const std::string quoted = QuoteName(value, reader.Here());
        reader.Read(quoted);
        out.append(between).append(quoted);
        done = at + pattern.size();
    }
    out.append(text.substr(done));
    return out;
}

}  // namespace kestrune
