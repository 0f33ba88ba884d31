// The toolkit's base exception: its message is what the standard error box shows. Any other
// exception reaching the error box is shown without text.
#pragma once

#include <exception>
#include <string>

namespace ui {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

}  // namespace ui
