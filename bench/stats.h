// Summaries of a series of durations.
#pragma once

#include <cstddef>
#include <vector>

namespace bench {

struct Summary {
    std::size_t count = 0;
    double median = 0;
    double p99 = 0;
    double max = 0;
};

// Nearest-rank median and 99th percentile, and the largest value; all 0 for an empty series.
Summary Summarise(std::vector<double> values);

}  // namespace bench
