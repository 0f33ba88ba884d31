// The progress shown on a window's taskbar button, where the system has it (ITaskbarList3, from
// Windows 7 on); elsewhere the object does nothing. The button shows no progress again once the
// object is gone.
#pragma once

#include <windows.h>

struct ITaskbarList3;

namespace ui {

class TaskbarProgress {
public:
    explicit TaskbarProgress(HWND window);
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // 0 to 1000.
    void SetPosition(int thousandths);
    bool Available() const noexcept { return list_ != nullptr; }

private:
    HWND window_;
    bool comStarted_ = false;
    ITaskbarList3* list_ = nullptr;
};

}  // namespace ui
