// The real Varnedo.exe from outside, through the end-to-end driver: its size, the time from
// CreateProcess to its main window on the screen (warm Wine), and its memory with 8 MB of text.
#include "sections.h"

#include "bench_clock.h"
#include "stats.h"
#include "Main.h"
#include "support/program_driver.h"

#include <psapi.h>

#include <cstdio>
#include <optional>
#include <vector>

namespace bench {

namespace {

constexpr int kStarts = 5;
constexpr std::size_t kMemoBytes = 8 << 20;
constexpr int kFileNameBox = 0x47C;

std::optional<long long> FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return std::nullopt;
    return (static_cast<long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
}

std::optional<PROCESS_MEMORY_COUNTERS> MemoryOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return std::nullopt;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    const bool got = GetProcessMemoryInfo(process, &counters, sizeof counters) != FALSE;
    CloseHandle(process);
    if (!got) return std::nullopt;
    return counters;
}

// From CreateProcess to the main window shown (the driver looks every 10 ms), and on to the
// program's first wait for input, which comes after its first paint.
struct Start {
    double shownMs;
    double idleMs;
};

Start StartOnce(const e2e::ProgramFolder& folder) {
    const double before = NowMs();
    e2e::RunningProgram program(folder);
    const double shown = NowMs();
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.ProcessId());
    if (process) {
        WaitForInputIdle(process, 5000);
        CloseHandle(process);
    }
    return {shown - before, NowMs() - before};
}

}  // namespace

bool ProgramSection(const DeviceData& data) {
    std::printf("\n== The real program (Varnedo.exe, started by the end-to-end driver) ==\n");
    const std::string exe = "Z:" + std::string(VARNEDO_EXE_PATH);
    std::string windowsExe = exe;
    for (char& c : windowsExe) c = c == '/' ? '\\' : c;
    if (const auto size = FileSize(windowsExe))
        std::printf("Varnedo.exe: %lld bytes (%.0f KB)\n", *size, *size / 1024.0);

    e2e::ProgramFolder folder("bench");
    StartOnce(folder);  // warms Wine's caches for this program
    std::vector<double> shown, idle;
    for (int i = 0; i < kStarts; ++i) {
        const Start start = StartOnce(folder);
        shown.push_back(start.shownMs);
        idle.push_back(start.idleMs);
    }
    const Summary shownSummary = Summarise(shown);
    const Summary idleSummary = Summarise(idle);
    std::printf("start-up to the main window shown: median %.0f ms, max %.0f ms (%d starts after one to warm up)\n",
                shownSummary.median, shownSummary.max, kStarts);
    std::printf("start-up to the first wait for input (after the first paint): median %.0f ms, max %.0f ms\n",
                idleSummary.median, idleSummary.max);

    // The text comes in as a user would bring 8 MB in at once: a transcript loaded through the menu.
    const std::string text = data.TextAreaLines(kMemoBytes);
    folder.WriteFile("fill.txt", text);
    e2e::RunningProgram program(folder);
    const auto empty = MemoryOf(program.ProcessId());
    program.PostCommand(TMainForm::LoadL1);
    const auto dialog = program.WaitForBox("");
    bool filled = false;
    if (dialog) {
        const std::string path = folder.FilePath("fill.txt");
        SendDlgItemMessageA(dialog->box, kFileNameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        program.Press(dialog->box, IDOK);
        filled = e2e::WaitUntil(
            [&] {
                return static_cast<std::size_t>(SendMessageA(program.Memo(), WM_GETTEXTLENGTH, 0, 0)) >= text.size();
            },
            300000, 500);
    }
    const auto full = MemoryOf(program.ProcessId());
    if (filled && empty && full) {
        std::printf(
            "memory, working set: %.1f MB with an empty text area, %.1f MB with %.1f MB of text (peak %.1f MB)\n",
            empty->WorkingSetSize / 1048576.0, full->WorkingSetSize / 1048576.0, text.size() / 1048576.0,
            full->PeakWorkingSetSize / 1048576.0);
    } else {
        std::printf("memory: the text area could not be filled, or the program's counters not read\n");
    }
    std::fflush(stdout);
    return true;
}

}  // namespace bench
