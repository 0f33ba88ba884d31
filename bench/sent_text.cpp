#include "sent_text.h"

#include <algorithm>
#include <span>

namespace bench {

namespace {

constexpr std::size_t kPieceBytes = 1 << 20;

}  // namespace

SentText::SentText(std::uint32_t seed, std::uint64_t count) : source(seed), left(count), bytes(kPieceBytes) {}

std::string_view SentText::Next() {
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceBytes));
    source.Read(std::span(bytes.data(), count));
    left -= count;
    piece.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] == '\n') piece += '\r';
        piece += static_cast<char>(bytes[i]);
    }
    return piece;
}

}  // namespace bench
