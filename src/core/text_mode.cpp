#include "core/text_mode.h"

#include <algorithm>

namespace core {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// Bytes that the line reader cannot copy straight into the current line.
constexpr std::string_view kLineReaderSpecialBytes("\r\n\x1A\0", 4);

}  // namespace

bool IsTextFileName(std::wstring_view name) {
    constexpr std::wstring_view kExtension = L".txt";
    if (name.size() < kExtension.size()) return false;
    const std::wstring_view end = name.substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        const wchar_t c = end[i] >= L'A' && end[i] <= L'Z' ? static_cast<wchar_t>(end[i] - L'A' + L'a') : end[i];
        if (c != kExtension[i]) return false;
    }
    return true;
}

std::string EncodeForSave(std::string_view text, bool afterCarriageReturn) {
    std::string encoded;
    encoded.reserve(text.size() + text.size() / 16);
    EncodeForSave(text, afterCarriageReturn, encoded);
    return encoded;
}

void EncodeForSave(std::string_view text, bool afterCarriageReturn, std::string& into) {
    // The runs between line feeds are copied whole.
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t lineFeed = std::min(text.find(kLineFeed, from), text.size());
        into.append(text.substr(from, lineFeed - from));
        if (lineFeed == text.size()) break;
        const bool afterCr = lineFeed == 0 ? afterCarriageReturn : text[lineFeed - 1] == kCarriageReturn;
        if (!afterCr) into += kCarriageReturn;
        into += kLineFeed;
        from = lineFeed + 1;
    }
}

void LineReader::Feed(std::string_view chunk) {
    // Plain runs are copied whole, so a large file costs one pass over its bytes.
    while (!m_ended && !m_finished && !chunk.empty()) {
        const std::size_t special = chunk.find_first_of(kLineReaderSpecialBytes);
        m_pending.append(chunk.substr(0, special));
        if (special == std::string_view::npos) {
            return;
        }
        switch (chunk[special]) {
        case kLineFeed:
            m_lines.push_back(std::move(m_pending));
            m_pending.clear();
            break;
        case kEndOfFileMark: m_ended = true; break;
        default:  // CR and NUL are dropped
            break;
        }
        chunk.remove_prefix(special + 1);
    }
}

void LineReader::Finish() {
    if (m_finished) {
        return;
    }
    if (!m_pending.empty()) {
        m_lines.push_back(std::move(m_pending));
        m_pending.clear();
    }
    m_finished = true;
}

std::vector<std::string> LineReader::TakeLines() {
    std::vector<std::string> taken;
    taken.swap(m_lines);
    return taken;
}

std::vector<std::string> ReadPieces(std::string_view fileBytes, std::size_t bufferSize, std::size_t maxPieces) {
    const std::size_t pieceLimit = std::max<std::size_t>(bufferSize, 2) - 1;
    std::vector<std::string> pieces;
    std::string piece;
    auto endPiece = [&] {
        // The piece is used as a zero-terminated string from here on.
        piece.resize(std::min(piece.size(), piece.find('\0')));
        pieces.push_back(std::move(piece));
        piece.clear();
    };
    for (const char byte : fileBytes) {
        if (pieces.size() >= maxPieces || byte == kEndOfFileMark) {
            break;
        }
        if (byte == kCarriageReturn) {
            continue;
        }
        piece += byte;
        if (byte == kLineFeed || piece.size() == pieceLimit) {
            endPiece();
        }
    }
    if (!piece.empty() && pieces.size() < maxPieces) {
        endPiece();
    }
    return pieces;
}

}  // namespace core
