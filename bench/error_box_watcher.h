// Closes the message boxes of this process from a second thread and keeps their texts: a receive
// tick or a paint that fails shows the standard error box, which would otherwise hold the
// benchmark's thread in its modal loop for good. The file dialogs are left to DialogUser.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace bench {

class ErrorBoxWatcher {
public:
    ErrorBoxWatcher();
    ~ErrorBoxWatcher();
    ErrorBoxWatcher(const ErrorBoxWatcher&) = delete;
    ErrorBoxWatcher& operator=(const ErrorBoxWatcher&) = delete;

    int Count() const { return count; }
    // The text of the first box closed ("" for a box without one).
    std::string FirstText() const;

private:
    void Run();

    std::atomic<int> count{0};
    mutable std::mutex guard;
    std::string firstText;
    std::atomic<bool> stop{false};
    std::thread thread;
};

}  // namespace bench
