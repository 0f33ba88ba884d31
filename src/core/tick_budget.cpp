#include "core/tick_budget.h"

namespace core {
void TickBudget::Shown(std::size_t bytes, double showMs) noexcept {
    if (bytes < kFewestBytesToMeasure) return;
    const double perByte = showMs / static_cast<double>(bytes);
    msPerByte_ = perByte > msPerByte_ ? perByte : (3 * msPerByte_ + perByte) / 4;
}

}  // namespace core
