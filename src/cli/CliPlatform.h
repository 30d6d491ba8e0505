#pragma once
// The platform of the command-line tool: message boxes become blocks on standard error,
// dialogs are cancelled, and nothing is started.

#include <iosfwd>
#include <string>
#include <string_view>

#include "base/NullPlatform.h"

namespace kestrune::cli {

// "<title>: <text>\n" with every CR LF of the text written as one line feed.
std::string MessageBlock(std::string_view title, std::string_view text);

class CliPlatform : public NullPlatform {
  public:
    explicit CliPlatform(std::ostream& err) : err_(err) {}

    // Writes "<title>: <text>\n" with every CR LF of the text written as one line feed.
    void ShowMessage(MessageKind kind, const std::string& text) override;
    // Nothing to save interactively; the command decides what is written.
    ConfirmAnswer Confirm(const std::string&) override { return ConfirmAnswer::No; }
    std::string LocalDateTimeText() override;

    int MessageCount() const { return messages_; }

  private:
    std::ostream& err_;
    int messages_ = 0;
};

}  // namespace kestrune::cli
