#include "core/colour_schemes.h"

namespace core {

std::optional<ColourScheme> SchemeForSelection(int selection) {
    if (selection < 0 || selection >= static_cast<int>(ColourSchemes.size())) {
        return std::nullopt;
    }
    return ColourSchemes[static_cast<std::size_t>(selection)];
}

int RadioSelectionForStoredScheme(int storedScheme) {
    constexpr int kNoSelection = -1;
    constexpr int kLastRow = static_cast<int>(ColourSchemes.size()) - 1;
    if (storedScheme < 0) {
        return kNoSelection;
    }
    if (storedScheme > kLastRow + 1) {
        return 0;
    }
    // A stored 3 names no row of its own and falls to the last one.
    return storedScheme > kLastRow ? kLastRow : storedScheme;
}

}  // namespace core
