// Loading and saving 1 GB through the real commands while a device sends a short line every 50 ms:
// how long each took, the longest gap between two messages the window's thread took from its queue
// meanwhile, and the receive ticks that ran. Runs only when asked for by name.
#include "sections.h"

#include "bench_clock.h"
#include "bench_form.h"
#include "dialog_user.h"
#include "stats.h"

#include "core/text_mode.h"
#include "support/virtual_port.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

namespace bench {
namespace {

constexpr std::uint64_t kFileBytes = 1ull << 30;
constexpr int kPort = 74;
constexpr const char* kDeviceLine = "0123456789 device line\n";

// Every message the thread takes from its queue, by GetMessage or PeekMessage with PM_REMOVE.
double lastMessageMs = 0;
double longestGapMs = 0;

LRESULT CALLBACK NoteMessage(int code, WPARAM removal, LPARAM message) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        const double now = NowMs();
        if (lastMessageMs > 0) longestGapMs = std::max(longestGapMs, now - lastMessageMs);
        lastMessageMs = now;
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

// The pieces until the file holds at least kFileBytes; the bytes written, 0 on a failure.
std::uint64_t WriteLongFile(const std::string& path, const std::string& piece) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    bool written = true;
    std::uint64_t done = 0;
    for (; written && done < kFileBytes; done += piece.size()) {
        DWORD wrote = 0;
        written =
            WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &wrote, nullptr) && wrote == piece.size();
    }
    return CloseHandle(file) && written ? done : 0;
}

struct WorkFigures {
    double ms = 0;
    double longestGapMs = 0;
    Summary ticks;
};

// Runs one command with the dialog answered, timed from the press of OK to the command's return.
template <typename Command>
WorkFigures Measure(BenchForm& bench, const std::string& path, Command command) {
    bench.ClearTicks();
    lastMessageMs = 0;
    longestGapMs = 0;
    WorkFigures figures;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, NoteMessage, nullptr, GetCurrentThreadId());
    {
        DialogUser user(path);
        command();
        // The stretch from the last message to the command's return counts too.
        longestGapMs = std::max(longestGapMs, NowMs() - lastMessageMs);
        figures.ms = NowMs() - user.PressedAtMs();
        // From the press on: the gaps while the dialog was open are the dialog's business.
        std::vector<double> durations;
        for (const TickRecord& tick : bench.Ticks()) {
            if (tick.startMs >= user.PressedAtMs()) durations.push_back(tick.endMs - tick.startMs);
        }
        figures.ticks = Summarise(std::move(durations));
    }
    if (hook) UnhookWindowsHookEx(hook);
    figures.longestGapMs = longestGapMs;
    return figures;
}

void Print(const char* what, double megabytes, const WorkFigures& f) {
    std::printf(
        "%-5s %7.1f MB: %7.2f s (%.2f s per GB), longest gap %5.1f ms, ticks %zu med %.1f p99 %.1f max %.1f ms\n", what,
        megabytes, f.ms / 1000, f.ms / 1000 / (megabytes / 1024), f.longestGapMs, f.ticks.count, f.ticks.median,
        f.ticks.p99, f.ticks.max);
}

}  // namespace

bool FileWorkSection(const Workspace& workspace, const DeviceData& data) {
    std::printf("\n== Long file work: 1 GB loaded and saved while a device sends ==\n");
    const std::uint64_t fileBytes =
        WriteLongFile(workspace.WindowsPath("long.txt"), core::EncodeForSave(data.TextAreaLines(8 << 20)));
    if (fileBytes == 0) {
        std::printf("cannot write the transcript\n");
        return false;
    }
    testsupport::VirtualPort line(kPort);
    BenchForm bench;
    TMainForm& form = bench.Form();
    form.AppDir = workspace.WindowsFolder();
    if (!bench.OpenPort(kPort)) {
        std::printf("COM%d did not open\n", kPort);
        return false;
    }
    std::atomic<bool> stop{false};
    std::thread device([&] {
        while (!stop) {
            line.Send(kDeviceLine);
            Sleep(50);
        }
    });
    const WorkFigures load = Measure(bench, workspace.WindowsPath("long.txt"), [&] { form.LoadL1Click(nullptr); });
    const double textMb = bench.ReceivedBytes() / 1048576.0;
    const WorkFigures save = Measure(bench, workspace.WindowsPath("saved.txt"), [&] { form.SaveS1Click(nullptr); });
    stop = true;
    device.join();
    workspace.Remove("long.txt");
    workspace.Remove("saved.txt");
    Print("load", fileBytes / 1048576.0, load);
    Print("save", textMb, save);
    std::fflush(stdout);
    return true;
}

}  // namespace bench
