// devsim: plays the device at the far end of a virtual serial line.
#include "command_line.h"
#include "output_port.h"
#include "paced_writer.h"
#include "pacer.h"
#include "source_factory.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <iostream>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitCannotStart = 1;
constexpr int kExitUsage = 2;
constexpr int kExitPeerGone = 3;

// Lock-free, so setting it from a signal handler is safe.
std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RequestStop(int) { g_stopRequested.store(true); }

void InstallSignalHandlers() {
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigemptyset(&stop.sa_mask);
    // No SA_RESTART: a write blocked on a full terminal must return EINTR so
    // that SIGTERM ends the run at once.
    stop.sa_flags = 0;
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);

    // A closed pipe under "--out -" must show as EPIPE, not kill the process.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

int Fail(int exitCode, const std::string& message) {
    std::cerr << "devsim: " << message << '\n';
    return exitCode;
}

int Run(const devsim::Options& options) {
    devsim::MadeSource made = devsim::MakeSource(options);
    if (!made.source) {
        return Fail(kExitCannotStart, made.error);
    }

    devsim::OpenedOutput output = devsim::OpenOutput(options.outPath, options.waitForOutSeconds, g_stopRequested);
    if (!output.fd.IsOpen()) {
        return output.error.empty() ? kExitOk : Fail(kExitCannotStart, output.error);
    }

    const devsim::PacingSettings pacing{
        .bytesPerSecond = options.bytesPerSecond,
        .chunkBytes = options.chunkBytes.value_or(devsim::DefaultChunkBytes(options.bytesPerSecond)),
        .byteLimit = options.byteCount,
    };
    if (options.verbose) {
        std::cout << "devsim: writing to " << options.outPath << " at "
                  << (pacing.bytesPerSecond ? std::to_string(*pacing.bytesPerSecond) + " bytes/s"
                                            : std::string("full speed"))
                  << " in chunks of " << pacing.chunkBytes << " bytes" << std::endl;
    }

    const devsim::RunResult result = devsim::RunPacedWriter(*made.source, output.fd.Get(), pacing, g_stopRequested);
    if (options.verbose) {
        std::cout << "devsim: " << result.bytesWritten << " bytes written" << std::endl;
    }
    switch (result.outcome) {
    case devsim::RunOutcome::Finished:
    case devsim::RunOutcome::Stopped: return kExitOk;
    case devsim::RunOutcome::PeerGone:
        return Fail(kExitPeerGone, "the reader of " + options.outPath + " went away after " +
                                       std::to_string(result.bytesWritten) + " bytes: " + std::strerror(result.error));
    case devsim::RunOutcome::Failed: break;
    }
    return Fail(kExitCannotStart, "cannot write to " + options.outPath + ": " + std::strerror(result.error));
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const devsim::ParseResult parsed = devsim::ParseCommandLine(arguments);
    if (!parsed.options) {
        std::cerr << "devsim: " << parsed.error << "\nTry 'devsim --help'.\n";
        return kExitUsage;
    }
    if (parsed.options->showHelp) {
        std::cout << devsim::UsageText();
        return kExitOk;
    }
    InstallSignalHandlers();
    return Run(*parsed.options);
}
