#include "core/error_text.h"

namespace core {

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    // Compared as unsigned bytes, so a Shift_JIS character at the end is followed by the stop too.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

}  // namespace core
