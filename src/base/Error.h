#pragma once
// The one error type of the program: a raised error carrying one message text.
#include <exception>
#include <string>

namespace base {

class Error : public std::exception {
public:
    explicit Error(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }
    // UTF-8 copy for GoogleTest output and std::exception users.
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::wstring message_;
    std::string utf8_;
};

// The platform's own texts, produced where the program meets those conditions.
[[noreturn]] void RaiseListIndexError(int index);            // "List index out of bounds (%d)"
[[noreturn]] void RaiseConvertError(const std::wstring& text);  // "'%s' is not a valid integer value"

}  // namespace base
