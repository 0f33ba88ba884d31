#pragma once

#include <string>
#include <string_view>

namespace core {

// The text of the standard error box: "." appended when the message is not empty and its last
// byte is greater than '.' as an unsigned byte.
std::string ErrorBoxText(std::string_view message);

}  // namespace core
