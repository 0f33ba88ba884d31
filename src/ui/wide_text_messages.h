// The text messages of a Unicode window whose text is Shift_JIS bytes (the text area): what comes
// in as UTF-16 is turned into Shift_JIS, and what goes out is read from the text's start only as
// far as the caller's buffer reaches.
#pragma once

#include "core/wide_text.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

// The bytes a WM_GETTEXT buffer of `capacity` units can take at most, to read from the text's start.
std::size_t BytesForWideBuffer(WPARAM capacity);
// Answers WM_GETTEXT: fills the caller's buffer of `capacity` units from `start`, the text's first
// BytesForWideBuffer(capacity) bytes (or all of a shorter text), and ends it with a zero.
LRESULT AnswerWideGetText(std::string_view start, WPARAM capacity, LPARAM buffer);

// The Shift_JIS bytes of a zero-ended UTF-16 text given with a message (WM_SETTEXT, EM_REPLACESEL).
std::string ShiftJisFromWideParam(LPARAM text);

// WM_CHAR units turned into the Shift_JIS bytes of the characters typed.
class TypedCharacters {
public:
    // The bytes of the character this unit completes; empty while half of a pair waits.
    std::string Take(WPARAM unit);

private:
    core::TypedUnits units_;
};

}  // namespace ui
