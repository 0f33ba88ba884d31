#include "piece_compare.h"

#include <windows.h>

#include <algorithm>

namespace bench {

namespace {

constexpr DWORD kPieceBytes = 1 << 20;

}  // namespace

FilePieces::FilePieces(const std::string& windowsPath, std::string tail)
    : file(CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr)),
      tail(std::move(tail)),
      failed(file == INVALID_HANDLE_VALUE),
      buffer(kPieceBytes, '\0') {}

FilePieces::~FilePieces() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

std::string_view FilePieces::Next() {
    if (failed) return {};
    DWORD got = 0;
    if (!tailGiven) {
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            failed = true;
            return {};
        }
        if (got > 0) return std::string_view(buffer).substr(0, got);
        tailGiven = true;
        if (!tail.empty()) return tail;
    }
    return {};
}

std::int64_t FirstDifference(const std::function<std::string_view()>& a, const std::function<std::string_view()>& b) {
    std::int64_t offset = 0;
    std::string_view left = a();
    std::string_view right = b();
    while (!left.empty() && !right.empty()) {
        const std::size_t length = std::min(left.size(), right.size());
        const auto [l, r] =
            std::mismatch(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(length), right.begin());
        const auto same = static_cast<std::size_t>(l - left.begin());
        if (same < length) return offset + static_cast<std::int64_t>(same);
        offset += static_cast<std::int64_t>(length);
        left.remove_prefix(length);
        right.remove_prefix(length);
        if (left.empty()) left = a();
        if (right.empty()) right = b();
    }
    return left.empty() && right.empty() ? -1 : offset;
}

}  // namespace bench
