// Exceptions never unwind through Windows' own code: every entry from Windows into the toolkit runs
// its handler through GuardedCall, which shows a failure in the application's error box.
#pragma once

namespace ui {

// Shows the exception being handled in the standard error box. Call only inside a catch block.
void ShowCurrentException() noexcept;

template <typename Function, typename Result>
Result GuardedCall(Function&& function, Result resultOnFailure) noexcept {
    try {
        return function();
    } catch (...) {
        ShowCurrentException();
        return resultOnFailure;
    }
}

}  // namespace ui
