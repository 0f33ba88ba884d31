#include "stats.h"

#include <algorithm>
#include <cmath>

namespace bench {

namespace {

// The smallest value that at least `share` of the sorted values do not exceed.
double NearestRank(const std::vector<double>& sorted, double share) {
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

}  // namespace

Summary Summarise(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values.size(), NearestRank(values, 0.5), NearestRank(values, 0.99), values.back()};
}

}  // namespace bench
