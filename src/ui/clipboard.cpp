#include "ui/clipboard.h"

#include "ui/text_conversion.h"

#include "core/wide_text.h"

#include <cstring>

namespace ui {
namespace {

// Moveable memory for the clipboard, freed unless the clipboard took it.
class ClipboardMemory {
public:
    ClipboardMemory(const void* data, std::size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {
        if (!memory_) return;
        if (void* target = GlobalLock(memory_)) {
            std::memcpy(target, data, size);
            GlobalUnlock(memory_);
        }
    }
    ~ClipboardMemory() {
        if (memory_) GlobalFree(memory_);
    }
    ClipboardMemory(const ClipboardMemory&) = delete;
    ClipboardMemory& operator=(const ClipboardMemory&) = delete;

    explicit operator bool() const { return memory_ != nullptr; }

    bool HandTo(UINT format) {
        if (!memory_ || !SetClipboardData(format, memory_)) return false;
        memory_ = nullptr;
        return true;
    }

private:
    HGLOBAL memory_;
};

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// The clipboard's data of one format, up to its first zero unit and never past its memory.
template <typename Unit>
std::optional<std::basic_string<Unit>> ClipboardData(UINT format) {
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    const auto* units = static_cast<const Unit*>(GlobalLock(data));
    if (!units) return std::nullopt;
    const std::size_t most = GlobalSize(data) / sizeof(Unit);
    std::size_t length = 0;
    while (length < most && units[length] != 0) ++length;
    std::basic_string<Unit> text(units, length);
    GlobalUnlock(data);
    return text;
}

}  // namespace

bool SetClipboardText(HWND owner, std::string_view shiftJis) {
    const std::wstring wide = ToWide(shiftJis);
    ClipboardMemory unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    const std::string bytes(shiftJis);
    ClipboardMemory ansi(bytes.c_str(), bytes.size() + 1);
    const LCID japanese = core::kJapaneseLocale;
    ClipboardMemory locale(&japanese, sizeof japanese);

    if (!unicode || !ansi) return false;

    const OpenedClipboard clipboard(owner);
    if (!clipboard) return false;
    EmptyClipboard();
    const bool handed = unicode.HandTo(CF_UNICODETEXT) && ansi.HandTo(CF_TEXT);
    // Tells the system and other programs which code page the CF_TEXT bytes are in.
    locale.HandTo(CF_LOCALE);
    return handed;
}

std::optional<std::string> ClipboardText(HWND owner) {
    if (!ClipboardHasText()) return std::nullopt;
    const OpenedClipboard clipboard(owner);
    if (!clipboard) return std::nullopt;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        if (const auto wide = ClipboardData<wchar_t>(CF_UNICODETEXT)) return ToShiftJis(*wide);
    }
    return ClipboardData<char>(CF_TEXT);
}

bool ClipboardHasText() { return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT); }

}  // namespace ui
