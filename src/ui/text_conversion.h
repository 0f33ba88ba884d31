// The program's texts are Shift_JIS bytes; Windows holds a Unicode window's texts in UTF-16. They
// meet here, always through code page 932 and never the system's own code page, so that every text
// reads the same on a system of any language.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace ui {

inline constexpr UINT kShiftJisCodePage = 932;

std::wstring ToWide(std::string_view shiftJis);
// Every character code page 932 lacks becomes one "?", never a look-alike.
std::string ToShiftJis(std::wstring_view wide);
// The same text, or nothing when code page 932 lacks one of its characters: for texts that must
// be sought as they were typed, never as a look-alike.
std::optional<std::string> ToShiftJisExactly(std::wstring_view wide);

}  // namespace ui
