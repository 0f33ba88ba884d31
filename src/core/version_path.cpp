#include "core/version_path.h"

namespace core {
namespace {

void AppendHex4(std::string& out, std::uint32_t value) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kDigits[(value >> shift) & 0xF];
    }
}

}  // namespace

std::string VersionQueryPath(std::uint32_t translation, std::string_view key) {
    std::string path = "\\StringFileInfo\\";
    AppendHex4(path, translation & 0xFFFF);
    AppendHex4(path, translation >> 16);
    path += '\\';
    path += key;
    return path;
}

}  // namespace core
