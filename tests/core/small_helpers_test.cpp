// The small rules of the shell: colour schemes, the version query path, the program directory,
// the error box text and the receive tick's budget.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app_dir.h"
#include "core/colour_schemes.h"
#include "core/error_text.h"
#include "core/sjis_boundary.h"
#include "core/tick_budget.h"
#include "core/version_path.h"

namespace {

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

Rgb ToRgb(std::uint32_t colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

// Each radio item names its (background, text) pair; no selection names none.
TEST(ColourSchemes, SelectionsNameTheirColours) {
    const struct {
        int selection;
        Rgb background, text;
    } rows[] = {
        {0, {0, 0, 0}, {0, 255, 0}},
        {1, {255, 255, 255}, {0, 0, 0}},
        {2, {128, 255, 255}, {85, 0, 0}},
    };
    for (const auto& row : rows) {
        const auto scheme = core::SchemeForSelection(row.selection);
        ASSERT_TRUE(scheme.has_value()) << row.selection;
        EXPECT_EQ(ToRgb(scheme->background), row.background) << row.selection;
        EXPECT_EQ(ToRgb(scheme->text), row.text) << row.selection;
    }
    EXPECT_FALSE(core::SchemeForSelection(-1).has_value());
    EXPECT_FALSE(core::SchemeForSelection(3).has_value());
    EXPECT_EQ(ToRgb(core::kLayoutBackground), (Rgb{192, 192, 192}));
    EXPECT_EQ(ToRgb(core::kLayoutText), (Rgb{0, 255, 0}));
}

// A stored scheme of 3 selects item "3", below 0 nothing, above 3 item "1".
TEST(ColourSchemes, StoredSchemeGivesTheRadioSelection) {
    const struct {
        int stored, selection;
    } cases[] = {{-7, -1}, {-1, -1}, {0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 0}, {2147483647, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(core::RadioSelectionForStoredScheme(c.stored), c.selection) << c.stored;
    }
}

// The language comes first in the string table's name, the code page second.
TEST(VersionQueryPath, NamesTheStringTableLanguageFirst) {
    EXPECT_EQ(core::VersionQueryPath(0x03A40411, "FileVersion"), "\\StringFileInfo\\041103A4\\FileVersion");
    EXPECT_EQ(core::VersionQueryPath(0x03A40411, "LegalCopyright").size(), 39u);
    EXPECT_EQ(core::VersionQueryPath(0x04B00409, "Comments"), "\\StringFileInfo\\040904B0\\Comments");
    EXPECT_EQ(core::VersionQueryPath(0x00000000, "X"), "\\StringFileInfo\\00000000\\X");
}

// The directory ends in one added backslash; a drive's root keeps its own, so it ends in two.
TEST(AppDirFromModulePath, CutsThePathToItsDirectory) {
    const struct {
        std::string path, appDir;
    } cases[] = {
        {"C:\\Varnedo.exe", "C:\\\\"},
        {"C:\\dir\\Varnedo.exe", "C:\\dir\\"},
        {"C:\\a\\b\\c\\Varnedo.exe", "C:\\a\\b\\c\\"},
        {"\\\\server\\share\\a.exe", "\\\\server\\share\\"},
        {"C:Varnedo.exe", "C:\\"},
        {"\\Varnedo.exe", "\\\\"},
        {"C:\\\x95\x5C\\x.exe", "C:\\\x95\x5C\\"},  // 表, whose second byte is 5C
        {"C:\\\x95\x5C\\\x95\x5C.exe", "C:\\\x95\x5C\\"},
        {"C:\\\x83\x5C\x83\x74\x83\x67\\x.exe", "C:\\\x83\x5C\x83\x74\x83\x67\\"},  // ソフト
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::AppDirFromModulePath(c.path), c.appDir) << c.path;
    }
}

TEST(AppDirFromModulePath, TakesPathsOfAnyLength) {
    const std::string deepDirectory = "C:\\" + std::string(400, 'd') + "\\" + std::string(400, 'e');
    EXPECT_EQ(core::AppDirFromModulePath(deepDirectory + "\\Varnedo.exe"), deepDirectory + "\\");
}

// A stop is added after a message whose last byte is above '.', compared as unsigned bytes.
TEST(ErrorBoxText, AddsAStopAfterAMessageEndingAbove) {
    const struct {
        std::string message, text;
    } cases[] = {
        {"", ""},
        {"Access denied", "Access denied."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(x)", "(x)"},
        {"a/b", "a/b."},
        {"Error 0", "Error 0."},
        {"\x8E\xB8\x94\x73", "\x8E\xB8\x94\x73."},  // 失敗
        {"\x82\xA0", "\x82\xA0."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::ErrorBoxText(c.message), c.text) << c.message;
    }
}

}  // namespace

// Appends to the text area stop before a first byte whose second byte has not arrived yet, and
// only there: single-byte katakana and the bytes 0x80, 0xA0 and 0xFD-0xFF stand alone.
TEST(SjisBoundary, HoldsBackOnlyAnUnpairedFirstByte) {
    const struct {
        const char* bytes;
        std::size_t complete;
    } rows[] = {
        {"", 0},
        {"AB", 2},
        {"A\x93", 1},         // 漢 cut after its first byte
        {"\x93\xFA", 2},      // 日 whole
        {"\x93\xFA\x96", 2},  // 日 and the first byte of 本
        {"\x82\xA0\x82", 2},  // あ, then a lone first byte
        {"\xB1\xB2", 2},      // ｱｲ: half-width katakana are single bytes
        {"\x81\x81", 2},      // a pair whose second byte is itself a first-byte value
        {"\x81\x81\x81", 2},
        {"\x80\xA0\xFD\xFE\xFF", 5},
        {"\xE0", 0},
        {"\xFC\x40\xFC", 2},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(core::CompleteCharactersLength(row.bytes), row.complete) << row.bytes;
    }
}

// Every walk over Shift_JIS steps by one character: two bytes for a first byte with a byte after it,
// whatever that byte is (a backslash, a line break), one byte for anything else and for a first byte
// at the very end.
TEST(SjisBoundary, StepsOverOneCharacter) {
    const struct {
        std::string_view bytes;
        std::size_t at;
        std::size_t length;
    } rows[] = {
        {"A\x93\xFA", 0, 1}, {"A\x93\xFA", 1, 2},  // A, then 日
        {"\x95\\", 0, 2},                          // 表: its second byte is a backslash
        {"\x82\r", 0, 2},                          // a first byte takes even a line break
        {"A\x82", 1, 1},                           // a first byte at the end stands alone
        {"\xB1\xB2", 0, 1},                        // half-width katakana
    };
    for (const auto& row : rows) {
        EXPECT_EQ(core::SjisCharacterLength(row.bytes, row.at), row.length) << row.bytes << " at " << row.at;
    }
}

// A tick reads while the slice has room for the showing that the ticks before it paid for, on a
// slow machine less than on a fast one; a slow tick counts at once, a quick one only in part.
TEST(TickBudget, ReadingLeavesTheSliceRoomForTheShowing) {
    core::TickBudget budget;
    constexpr double kSlice = 12;
    EXPECT_TRUE(budget.MayRead(11, 1u << 20, kSlice));  // nothing measured yet: the slice is all reading
    EXPECT_FALSE(budget.MayRead(12, 0, kSlice));
    budget.Shown(100000, 6);  // 6 ms for 100 KB
    EXPECT_TRUE(budget.MayRead(5, 50000, kSlice));
    EXPECT_FALSE(budget.MayRead(7, 100000, kSlice));
    budget.Shown(100, 50);  // too few bytes to tell the cost per byte
    EXPECT_TRUE(budget.MayRead(5, 50000, kSlice));
    budget.Shown(100000, 2);  // a quick tick: 5 ms for 100 KB now
    EXPECT_FALSE(budget.MayRead(7, 100000, kSlice));
    EXPECT_TRUE(budget.MayRead(6.9, 100000, kSlice));
}

// One showing that a busy machine made slow must not hold the ticks below what is measured: the
// estimate comes down again, and a flood is read at its pace once more.
TEST(TickBudget, RecoversFromOneSlowShowing) {
    core::TickBudget budget;
    constexpr double kSlice = 12;
    budget.Shown(8192, 60);  // 60 ms for 8 KB
    EXPECT_TRUE(budget.MayRead(1, core::TickBudget::kFewestBytesToMeasure - 1, kSlice));
    std::size_t mayRead = 0;
    for (int tick = 0; tick < 40; ++tick) {
        mayRead = core::TickBudget::kFewestBytesToMeasure;
        while (budget.MayRead(1, mayRead, kSlice)) mayRead += 1024;
        budget.Shown(mayRead, 0.01 * static_cast<double>(mayRead) / 1024);  // 10 us a KB
    }
    EXPECT_GT(mayRead, 512u * 1024);
}
