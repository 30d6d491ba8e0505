#pragma once
// A text that most objects leave empty, such as a control's tooltip. It is one pointer wide and
// allocates only once it holds something: a specification can describe a million fields, each
// with a few controls, and most of those controls have no tooltip.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace kestrune {

class SparseText {
  public:
    SparseText() = default;
    explicit SparseText(std::string text) { Assign(std::move(text)); }
    SparseText(const SparseText& other) { Assign(other.str()); }
    SparseText(SparseText&&) noexcept = default;
    SparseText& operator=(const SparseText& other) {
        if (this != &other) {
            Assign(other.str());
        }
        return *this;
    }
    SparseText& operator=(SparseText&&) noexcept = default;
    SparseText& operator=(std::string text) {
        Assign(std::move(text));
        return *this;
    }
    SparseText& operator=(const char* text) { return *this = std::string(text); }

    bool empty() const { return !text_; }
    const std::string& str() const { return text_ ? *text_ : kEmpty; }
    void clear() { text_.reset(); }

    friend bool operator==(const SparseText& a, const SparseText& b) { return a.str() == b.str(); }
    friend bool operator==(const SparseText& a, std::string_view b) { return a.str() == b; }

  private:
    void Assign(std::string text) {
        if (text.empty()) {
            text_.reset();
        } else if (text_) {
            *text_ = std::move(text);
        } else {
            text_ = std::make_unique<std::string>(std::move(text));
        }
    }

    static inline const std::string kEmpty;
    std::unique_ptr<std::string> text_;
};

std::ostream& operator<<(std::ostream& out, const SparseText& text);

}  // namespace kestrune
