#include "core/tick_budget.h"

namespace core {
namespace {

// A tick that shows less than this says more about its fixed costs than about the cost per byte.
constexpr std::size_t kFewestBytesToMeasure = 4096;

}  // namespace

void TickBudget::Shown(std::size_t bytes, double showMs) noexcept {
    if (bytes < kFewestBytesToMeasure) return;
    const double perByte = showMs / static_cast<double>(bytes);
    msPerByte_ = perByte > msPerByte_ ? perByte : (3 * msPerByte_ + perByte) / 4;
}

}  // namespace core
