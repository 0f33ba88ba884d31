#include "sent_text.h"

#include <windows.h>

#include <algorithm>
#include <span>
#include <vector>

namespace bench {

namespace {

constexpr std::size_t kPieceBytes = 1 << 20;

}  // namespace

SentText::SentText(std::uint32_t seed, std::uint64_t count) : source(seed), left(count) {}

std::string_view SentText::Next()
{
    static std::uint8_t bytes[kPieceBytes];
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceBytes));
    source.Read(std::span(bytes, count));
    left -= count;
    piece.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] == '\n') piece += '\r';
        piece += static_cast<char>(bytes[i]);
    }
    return piece;
}

std::int64_t FirstDifference(const std::string& windowsPath, const std::function<std::string_view()>& next)
{
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -2;
    static char buffer[kPieceBytes];
    DWORD got = 0;
    std::size_t used = 0;
    std::int64_t offset = 0;  // of buffer[used]
    std::int64_t result = -1;
    bool fileEnded = false;
    for (std::string_view expected = next(); result == -1;) {
        if (used == got && !fileEnded) {
            if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
                result = -2;
                break;
            }
            used = 0;
            fileEnded = got == 0;
        }
        if (expected.empty()) expected = next();
        if (expected.empty() || fileEnded) {
            // One of them ended: the same only when both did.
            if (!expected.empty() || !fileEnded) result = offset;
            break;
        }
        const std::size_t length = std::min<std::size_t>(expected.size(), got - used);
        const auto [a, b] = std::mismatch(expected.begin(), expected.begin() + length, buffer + used);
        const std::size_t same = static_cast<std::size_t>(a - expected.begin());
        if (same < length) result = offset + static_cast<std::int64_t>(same);
        offset += static_cast<std::int64_t>(length);
        used += length;
        expected.remove_prefix(length);
    }
    CloseHandle(file);
    return result;
}

}  // namespace bench
