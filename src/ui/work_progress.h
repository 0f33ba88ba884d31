// Long work on the window's thread, done in slices with the message loop running between them.
// While the object lives, the user's input to the form is held and Esc cancels; once the work has
// run for half a second, a progress bar at the right end of `barHost` and the form's taskbar
// button show how far it has got. The window is painted a few times a second, not after every
// slice. All of it goes when the object does.
#pragma once

#include "ui/form.h"
#include "ui/message_pump.h"
#include "ui/progress_bar.h"
#include "ui/taskbar_progress.h"

#include "core/file_work.h"

#include <cstdint>
#include <optional>

namespace ui {

class WorkProgress {
public:
    WorkProgress(Form& form, Window& barHost, std::uint64_t totalBytes);
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // `bytes` more are done; between slices the waiting messages run. False once the work is
    // cancelled (Esc, or the program asked to quit): it should stop and take back what it did.
    bool Did(std::uint64_t bytes);
    // Runs the waiting messages until `event` is set, as between slices; false once cancelled.
    bool WaitFor(HANDLE event);
    bool Cancelled() const noexcept { return work_.Cancelled(); }
    // Whether the bar is shown now.
    bool ProgressShown() const noexcept { return bar_.has_value(); }

private:
    void ShowProgress();
    void RunMessages(Paints paints);

    Form& form_;
    Window& barHost_;
    core::FileWork work_;
    std::optional<ProgressBar> bar_;
    std::optional<TaskbarProgress> taskbar_;
};

// The performance counter in milliseconds: the system's tick count moves in steps of about 16 ms.
double MillisecondsNow();

}  // namespace ui
