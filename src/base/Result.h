#pragma once
// The outcome of a step that can fail with a message for the user: its value, or the message.
// It is the one way the core reports a failure to its caller; only the file and I/O failures
// that end a command are thrown (IoError), and caught where the command begins.

#include <string>
#include <utility>
#include <variant>

namespace kestrune {

// What a failed step says; it converts to a Result of any type.
struct Failure {
    std::string message;
};

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure.message)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    // The value of a result that is Ok(); asking a failed one throws std::bad_variant_access.
    T& operator*() & { return std::get<0>(state_); }
    const T& operator*() const& { return std::get<0>(state_); }
    T&& operator*() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }

    // The message of a failed result; asking one that is Ok() throws std::bad_variant_access.
    const std::string& Error() const { return std::get<1>(state_); }

  private:
    std::variant<T, std::string> state_;
};

// A step that gives nothing back but can fail.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : error_(std::move(failure.message)), failed_(true) {}

    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    // The message of a failed result; empty for one that is Ok().
    const std::string& Error() const { return error_; }

  private:
    std::string error_;
    bool failed_ = false;
};

}  // namespace kestrune
