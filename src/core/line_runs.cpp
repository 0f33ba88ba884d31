#include "core/line_runs.h"

#include "core/sjis_boundary.h"

namespace core {

std::vector<std::string_view> SplitLongLineRuns(std::string_view text, std::size_t maxRun) {
    std::vector<std::string_view> pieces;
    std::size_t pieceStart = 0;
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\n') {
            run = 0;
            ++i;
            continue;
        }
        const std::size_t length = IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (run + length > maxRun && i > pieceStart) {
            pieces.push_back(text.substr(pieceStart, i - pieceStart));
            pieceStart = i;
            run = 0;
        }
        run += length;
        i += length;
    }
    if (pieceStart < text.size()) pieces.push_back(text.substr(pieceStart));
    return pieces;
}

}  // namespace core
