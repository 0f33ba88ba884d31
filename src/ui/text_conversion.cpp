#include "ui/text_conversion.h"

#include "core/wide_text.h"

#include <climits>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 units on Windows");

namespace ui {

std::wstring ToWide(std::string_view shiftJis) {
    if (shiftJis.empty() || shiftJis.size() > INT_MAX) return {};
    // One unit per character at most, and a character takes at least one byte.
    std::wstring wide(shiftJis.size(), L'\0');
    const int length = MultiByteToWideChar(kShiftJisCodePage, 0, shiftJis.data(), static_cast<int>(shiftJis.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return wide;
}

namespace {

// `usedDefault`, when given, says whether some character became the "?".
std::string Convert(std::wstring_view wide, BOOL* usedDefault) {
    if (wide.empty() || wide.size() > INT_MAX / 2) return {};
    // A pair of surrogates is one character: it must become one "?", not two.
    std::u16string units(wide.begin(), wide.end());
    units.resize(core::ReplaceSurrogates(units.data(), units.size()));
    const auto* source = reinterpret_cast<const wchar_t*>(units.data());
    std::string bytes(2 * units.size(), '\0');
    // For a double-byte code page the default character is read as a string of up to two bytes:
    // it must end after the "?", or the byte after it becomes part of every replacement.
    static constexpr char kUnmappableText[] = {static_cast<char>(core::kUnmappable), '\0'};
    const int length =
        WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, source, static_cast<int>(units.size()),
                            bytes.data(), static_cast<int>(bytes.size()), kUnmappableText, usedDefault);
    bytes.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return bytes;
}

}  // namespace

std::string ToShiftJis(std::wstring_view wide) { return Convert(wide, nullptr); }

std::optional<std::string> ToShiftJisExactly(std::wstring_view wide) {
    // A surrogate is outside code page 932 even where it became "?" before the conversion.
    for (wchar_t unit : wide) {
        if (core::IsSurrogate(static_cast<char16_t>(unit))) return std::nullopt;
    }
    BOOL usedDefault = FALSE;
    std::string bytes = Convert(wide, &usedDefault);
    if (usedDefault || (bytes.empty() && !wide.empty())) return std::nullopt;
    return bytes;
}

}  // namespace ui
