// Answers the next file dialog of this process from a second thread, as a user would: types a path
// into its file-name box and presses OK, noting when, so that a command's time can be taken from
// that press to its return.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace bench {

class DialogUser {
public:
    explicit DialogUser(std::string path);
    ~DialogUser();
    DialogUser(const DialogUser&) = delete;
    DialogUser& operator=(const DialogUser&) = delete;

    // When OK was pressed (bench::NowMs); 0 while no dialog has come.
    double PressedAtMs() const { return pressedAt; }

private:
    void Run();

    std::string path;
    std::atomic<double> pressedAt{0};
    std::atomic<bool> stop{false};
    std::thread thread;
};

// The file-name box of the system's file dialogs; the benchmark's other box watcher leaves
// dialogs that have one alone.
inline constexpr int kFileNameBox = 0x47C;

}  // namespace bench
