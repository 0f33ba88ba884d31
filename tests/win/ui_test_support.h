// Helpers for the window tests: finding this process's windows, answering modal boxes from a
// second thread as a user would, and letting posted messages run.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace uitest {

// A visible top-level window of the given process with this class and caption; nullptr if none.
HWND FindVisibleWindow(const char* className, const std::string& caption, DWORD processId = GetCurrentProcessId());

// Dispatches this thread's messages for about `milliseconds`.
void PumpMessages(int milliseconds);

// Bounds of a window within its parent's client area (on the screen for a top-level window).
RECT BoundsInParent(HWND window);

std::string WindowText(HWND window);

// Runs `onFound` on a helper thread as soon as a matching window appears. The thread that shows
// the window must be pumping messages by then (a modal loop does).
class WindowWatcher {
public:
    WindowWatcher(const char* className, std::string caption, std::function<void(HWND)> onFound, int timeoutMs = 5000,
                  DWORD processId = GetCurrentProcessId());
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // Waits for the helper; true when the window was found in time.
    bool Wait();

private:
    bool found_ = false;
    std::thread thread_;
};

// What a message box showed before it was answered.
struct MessageBoxSeen {
    bool found = false;
    std::string text;
    HWND owner = nullptr;
    int defaultButton = 0;
    bool hasIcon = false;
    HICON icon = nullptr;
    RECT bounds{};
};

enum class Answer { ClickButton, PressEnter };

// Answers the next message box with this caption: clicks `button`, or presses Enter on the box.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer(std::string caption, int button, Answer how = Answer::ClickButton, int timeoutMs = 5000,
                       DWORD processId = GetCurrentProcessId());

    const MessageBoxSeen& Wait();

private:
    void Respond(HWND box);

    int button_;
    Answer how_;
    MessageBoxSeen seen_;
    WindowWatcher watcher_;
};

}  // namespace uitest
