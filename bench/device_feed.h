// The endurance run's device: the simulator sends random Shift_JIS lines from a seed into the
// virtual port's device side as fast as the line takes them, and can be held and let go on (the
// pty then holds nothing more back than what was already written). Ended when destroyed.
#pragma once

#include "message_pump.h"
#include "workspace.h"

#include "support/linux_command.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace bench {

class DeviceFeed {
public:
    DeviceFeed(const Workspace& workspace, int port, std::uint32_t seed, std::uint64_t count);
    ~DeviceFeed();
    DeviceFeed(const DeviceFeed&) = delete;
    DeviceFeed& operator=(const DeviceFeed&) = delete;

    // Waits, dispatching the window's messages, until the simulator runs; false when it did not.
    bool Start(MessagePump& pump);
    bool Pause(MessagePump& pump);
    bool Resume(MessagePump& pump);
    // The simulator's exit status once it has ended (0: every byte written).
    std::optional<int> ExitStatus() { return job ? job->ExitStatus() : std::nullopt; }

private:
    bool Signal(MessagePump& pump, const std::string& what);

    const Workspace& workspace;
    std::string pidFile;
    std::string arguments;
    std::unique_ptr<testsupport::LinuxJob> job;
};

}  // namespace bench
