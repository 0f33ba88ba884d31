#include "device_feed.h"

namespace bench {

using testsupport::LinuxJob;

namespace {

constexpr double kScriptMs = 20000;

}  // namespace

DeviceFeed::DeviceFeed(const Workspace& workspace, int port, std::uint32_t seed, std::uint64_t count)
    : workspace(workspace),
      pidFile("device.pid"),
      arguments("stream " + std::to_string(port) + " " + std::to_string(seed) + " " + std::to_string(count) + " " +
                workspace.UnixPath(pidFile)) {}

DeviceFeed::~DeviceFeed() {
    if (job && !job->ExitStatus() && workspace.Read(pidFile)) {
        LinuxJob stop("bench-feed.sh", "stop " + workspace.UnixPath(pidFile));
        stop.Wait(static_cast<int>(kScriptMs));
    }
    workspace.Remove(pidFile);
}

bool DeviceFeed::Start(MessagePump& pump) {
    workspace.Remove(pidFile);
    job = std::make_unique<LinuxJob>("bench-feed.sh", arguments);
    if (!job->Started()) return false;
    // The process id is there once the simulator runs; a simulator that failed at once ends the script.
    auto running = [&] {
        const auto pid = workspace.Read(pidFile);
        return pid && !pid->empty();
    };
    return pump.RunUntil([&] { return running() || job->ExitStatus(); }, kScriptMs) && running();
}

bool DeviceFeed::Pause(MessagePump& pump) { return Signal(pump, "pause"); }

bool DeviceFeed::Resume(MessagePump& pump) { return Signal(pump, "resume"); }

bool DeviceFeed::Signal(MessagePump& pump, const std::string& what) {
    LinuxJob signal("bench-feed.sh", what + " " + workspace.UnixPath(pidFile));
    if (!signal.Started()) return false;
    // The window's ticks go on meanwhile.
    return pump.RunUntil([&] { return signal.ExitStatus().has_value(); }, kScriptMs) && signal.ExitStatus() == 0;
}

}  // namespace bench
