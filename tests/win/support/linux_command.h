// Runs the project's Linux-side scripts (scripts/*.sh) from inside a Windows program under Wine, for
// the tests and the benchmark. Wine starts Linux programs through CreateProcess, but their process
// handle never signals their end, so the script writes its exit status into a file named by
// VARNEDO_DONE_FILE as its last act, and that file is waited for.
#pragma once

#include <optional>
#include <string>

namespace testsupport {

// A script that runs alongside the caller.
class LinuxJob {
public:
    // Starts scripts/<script> with the arguments; Started() tells whether that worked.
    LinuxJob(const std::string& script, const std::string& arguments);
    ~LinuxJob();
    LinuxJob(const LinuxJob&) = delete;
    LinuxJob& operator=(const LinuxJob&) = delete;

    bool Started() const { return started; }
    // The script's exit status once it has ended; nothing while it runs.
    std::optional<int> ExitStatus();
    // Waits for the end; the exit status, or nothing when it did not end in time.
    std::optional<int> Wait(int timeoutMs);

private:
    std::string marker;  // Windows path of the status file
    bool started = false;
    std::optional<int> status;
};

// Runs scripts/<script> with the given arguments and waits until it has finished; false when it
// could not be started or did not finish in time.
bool RunLinuxScript(const std::string& script, const std::string& arguments, int timeoutMs = 20000);

// A path of this machine's file system as Windows programs under Wine see it (drive Z:).
std::string WindowsPathOf(const std::string& unixPath);

}  // namespace testsupport
