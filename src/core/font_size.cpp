#include "core/font_size.h"

#include <cstdint>
#include <limits>

namespace core {
namespace {

constexpr int kPointsPerInch = 72;

}  // namespace

int MulDivRound(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t divisor = denominator;
    // Rounding the magnitudes and restoring the sign afterwards gives halves away from zero.
    const bool negative = (product < 0) != (divisor < 0);
    const std::uint64_t productMagnitude =
        product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
    const auto divisorMagnitude = static_cast<std::uint64_t>(divisor < 0 ? -divisor : divisor);
    const std::uint64_t quotient = (productMagnitude + divisorMagnitude / 2) / divisorMagnitude;
    if (quotient > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
        return -1;
    }
    const int magnitude = static_cast<int>(quotient);
    return negative ? -magnitude : magnitude;
}

int PointsToHeight(int points, int ppi) { return -MulDivRound(points, ppi, kPointsPerInch); }

int HeightToPoints(int height, int ppi) { return -MulDivRound(height, kPointsPerInch, ppi); }

}  // namespace core
