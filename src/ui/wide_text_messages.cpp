#include "ui/wide_text_messages.h"

#include "ui/text_conversion.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace ui {

std::size_t BytesForWideBuffer(WPARAM capacity) {
    return capacity == 0 ? 0 : core::MostSjisBytesForUnits(capacity - 1);
}

LRESULT AnswerWideGetText(std::string_view start, WPARAM capacity, LPARAM buffer) {
    if (capacity == 0 || buffer == 0) return 0;
    const std::size_t units = capacity - 1;
    const std::wstring wide = ToWide(start.substr(0, core::SjisPrefixForUnits(start, units)));
    const std::size_t count = std::min(wide.size(), units);
    auto* target = reinterpret_cast<wchar_t*>(buffer);
    std::memcpy(target, wide.data(), count * sizeof(wchar_t));
    target[count] = L'\0';
    return static_cast<LRESULT>(count);
}

std::string ShiftJisFromWideParam(LPARAM text) {
    if (text == 0) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text);
    return ToShiftJis(std::wstring_view(wide, std::wcslen(wide)));
}

std::string TypedCharacters::Take(WPARAM unit) {
    const std::optional<char16_t> character = units_.Take(static_cast<char16_t>(unit));
    if (!character) return {};
    return ToShiftJis(std::wstring_view(reinterpret_cast<const wchar_t*>(&*character), 1));
}

}  // namespace ui
