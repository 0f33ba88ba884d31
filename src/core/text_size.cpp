#include "core/text_size.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace core {
namespace {

// A stored size is taken as it stands, so the sizes derived from an absurd one are held at the
// ends of the int range rather than wrapping round.
int Saturated(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// One step is 2 points of strip size and the same moves of the other sizes as two points of
// a stored size.
TextSizes Stepped(TextSizes sizes, int direction) {
    const std::int64_t points = 2 * direction;
    return {Saturated(sizes.stripPoints + points), Saturated(sizes.stripHeight + points),
            Saturated(sizes.stripWidth + 10 * points), Saturated(sizes.topBarHeight + points),
            Saturated(sizes.memoPoints + points)};
}

}  // namespace

TextSizes Larger(TextSizes sizes) {
    if (sizes.stripPoints >= kLargestStepFromPoints) {
        return sizes;
    }
    return Stepped(sizes, +1);
}

TextSizes Smaller(TextSizes sizes) {
    if (sizes.stripPoints <= kSmallestStepFromPoints) {
        return sizes;
    }
    return Stepped(sizes, -1);
}

TextSizes FromStoredStripSize(int stripPoints) {
    const TextSizes layout;
    const std::int64_t shift = static_cast<std::int64_t>(stripPoints) - layout.stripPoints;
    return {stripPoints, Saturated(layout.stripHeight + shift), Saturated(layout.stripWidth + 10 * shift),
            Saturated(layout.topBarHeight + shift), Saturated(layout.memoPoints + shift)};
}

bool IsUsableStoredStripSize(int stripPoints) {
    return stripPoints >= kSmallestStoredStripPoints && stripPoints <= kLargestStoredStripPoints;
}

}  // namespace core
