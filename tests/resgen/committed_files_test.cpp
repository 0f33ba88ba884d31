#include "artwork.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using resgen_test::Read16;
using resgen_test::Read32;
using resgen_test::ReadBytes;
using resgen_test::SameBytes;

const std::filesystem::path kResources = RESOURCES_DIR;

const struct {
    const char* file;
    resgen::Bytes (*generate)();
} kPictures[] = {{"varnedo.ico", resgen::IconFile}, {"logo.bmp", resgen::LogoFile}};

// The pictures in resources/ are exactly what the generator draws and what the resgen program
// writes, so neither drifts alone.
TEST(CommittedPictures, EqualTheGeneratorOutput) {
    const auto folder = std::filesystem::temp_directory_path() / ("resgen_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string command = std::string("'") + RESGEN_EXECUTABLE + "' '" + folder.string() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const auto& picture : kPictures) {
        const auto committed = ReadBytes(kResources / picture.file);
        EXPECT_TRUE(SameBytes(committed, picture.generate())) << picture.file << " is stale: run resgen_update";
        EXPECT_TRUE(SameBytes(ReadBytes(folder / picture.file), committed)) << picture.file << " from resgen";
    }
    std::filesystem::remove_all(folder);
}

// The window takes a 32 x 32 icon of 16 colours, one image; the top bar a 82 x 30 logo of 24 bits.
TEST(CommittedPictures, HaveTheSizesAndDepthsTheWindowExpects) {
    const auto icon = ReadBytes(kResources / "varnedo.ico");
    const auto logo = ReadBytes(kResources / "logo.bmp");
    const std::uint32_t logoRow = 248;  // 82 pixels of 3 bytes, padded from 246
    const struct {
        const char* field;
        std::uint32_t value, expected;
    } fields[] = {
        {"icon: type icon", Read16(icon, 2), 1},
        {"icon: one image", Read16(icon, 4), 1},
        {"icon: width", icon.at(6), 32},
        {"icon: height", icon.at(7), 32},
        {"icon: colour count", icon.at(8), 16},
        {"icon: bit count", Read16(icon, 12), 4},
        {"icon: image offset", Read32(icon, 18), 22},
        {"icon: header width", Read32(icon, 22 + 4), 32},
        {"icon: header height of both masks", Read32(icon, 22 + 8), 64},
        {"icon: header bit count", Read16(icon, 22 + 14), 4},
        {"icon: file size", static_cast<std::uint32_t>(icon.size()), 22 + 40 + 16 * 4 + 32 * 16 + 32 * 4},
        {"logo: magic BM", Read16(logo, 0), 0x4D42},
        {"logo: size in header", Read32(logo, 2), 54 + 30 * logoRow},
        {"logo: pixel offset", Read32(logo, 10), 54},
        {"logo: width", Read32(logo, 18), 82},
        {"logo: height, bottom up", Read32(logo, 22), 30},
        {"logo: bits per pixel", Read16(logo, 28), 24},
        {"logo: uncompressed", Read32(logo, 30), 0},
        {"logo: file size", static_cast<std::uint32_t>(logo.size()), 54 + 30 * logoRow},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(f.value, f.expected) << f.field;
    }
}

// The logo sits in a white panel, so its border is white all round and the drawing is inside.
TEST(CommittedPictures, LogoHasAWhiteBorderAndInkInside) {
    const auto logo = ReadBytes(kResources / "logo.bmp");
    int inkInside = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 82; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(29 - y) * 248 + static_cast<std::size_t>(x) * 3;
            const bool white = logo.at(at) == 0xFF && logo.at(at + 1) == 0xFF && logo.at(at + 2) == 0xFF;
            if (x == 0 || y == 0 || x == 81 || y == 29) {
                EXPECT_TRUE(white) << "border pixel " << x << ',' << y;
            } else {
                inkInside += !white;
            }
        }
    }
    EXPECT_GT(inkInside, 82 * 30 / 10) << "the logo is more than a blank white card";
}

}  // namespace
