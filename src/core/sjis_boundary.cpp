#include "core/sjis_boundary.h"

namespace core {

std::size_t CompleteCharactersLength(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (!IsSjisLeadByte(static_cast<unsigned char>(bytes[i]))) {
            ++i;
        } else if (i + 1 < bytes.size()) {
            i += 2;
        } else {
            return i;
        }
    }
    return i;
}

}  // namespace core
