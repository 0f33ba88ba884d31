// Faults of the serial line against the real main window in this process, its own timer driving the
// receive tick: a device unplugged and plugged in again while it streams, and ports that cannot be
// opened for thousands of ticks. Handles and memory are measured here, inside the process, because
// Wine does not count a process's handles. COM ports 80-89.
// Larger counts with VARNEDO_LONG=1 (see docs/reliability.md).
// (No <chrono> here: its C++20 unit suffixes cannot be written in the Shift_JIS execution charset.)
#include <gtest/gtest.h>

#include "Main.h"
#include "support/run_length.h"
#include "support/virtual_port.h"
#include "ui/application.h"
#include "ui_test_support.h"

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using testsupport::RunPortScript;
using testsupport::Scaled;
using testsupport::VirtualPort;

namespace {

constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kGreen = 0x0000FF00;

double MillisecondsBetween(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    MSG message;
    for (;;) {
        // Looked at after each message, so that a count of ticks taken to reach it stops at the
        // tick that did: a busy machine can queue a further tick behind it.
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (done()) return true;
        }
        if (done()) return true;
        if (GetTickCount64() > deadline) return false;
        Sleep(1);
    }
}

// ---- what the process holds ----------------------------------------------------------------------

// The value the next kernel handle gets. Slots are reused lowest first, so this moves exactly when a
// handle was left open.
std::uintptr_t NextHandleValue() {
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return reinterpret_cast<std::uintptr_t>(probe);
}

// The table slot the next GDI object gets (the low word of its handle; the high word counts reuse).
unsigned NextGdiSlot() {
    HBRUSH probe = CreateSolidBrush(0);
    DeleteObject(probe);
    return LOWORD(reinterpret_cast<std::uintptr_t>(probe));
}

// Bytes in blocks allocated from every heap of the process (the C runtime's among them).
std::size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(64);
    const DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    heaps.resize(std::min<std::size_t>(count, heaps.size()));
    std::size_t busy = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
        }
        HeapUnlock(heap);
    }
    return busy;
}

// Memory of this process as Wine reports it from Linux's counts, in kB: resident and private.
PROCESS_MEMORY_COUNTERS MemoryCounters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

struct Holdings {
    std::uintptr_t nextHandle;
    unsigned nextGdiSlot;
    std::size_t heapBytes;
    std::size_t residentKb;
    std::size_t privateKb;
};

Holdings Measure() {
    const PROCESS_MEMORY_COUNTERS memory = MemoryCounters();
    return {NextHandleValue(), NextGdiSlot(), HeapBytesInUse(), memory.WorkingSetSize / 1024,
            memory.PagefileUsage / 1024};
}

// ---- the window under test ---------------------------------------------------------------------

// Counts the receive ticks as the window's own timer runs them, and the longest one.
class TickCounter {
public:
    explicit TickCounter(TMainForm& form) : form_(form), original_(form.Timer1.OnTimer) {
        form_.Timer1.OnTimer = [this](ui::Object* sender) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            original_(sender);
            QueryPerformanceCounter(&end);
            longestMs_ = std::max(longestMs_, MillisecondsBetween(start, end));
            ++count_;
        };
    }
    ~TickCounter() { form_.Timer1.OnTimer = original_; }
    TickCounter(const TickCounter&) = delete;
    TickCounter& operator=(const TickCounter&) = delete;

    int Count() const { return count_; }
    double LongestMs() const { return longestMs_; }

private:
    TMainForm& form_;
    std::function<void(ui::Object*)> original_;
    int count_ = 0;
    double longestMs_ = 0;
};

// Presses OK on every box this process shows, and counts them: the receive path must show none.
class BoxCounter {
public:
    BoxCounter()
        : thread_([this] {
              while (!stop_) {
                  for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
                      DWORD owner = 0;
                      GetWindowThreadProcessId(box, &owner);
                      if (owner != GetCurrentProcessId() || !IsWindowVisible(box)) continue;
                      ++count_;
                      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                      Sleep(100);
                  }
                  Sleep(10);
              }
          }) {}
    ~BoxCounter() {
        stop_ = true;
        thread_.join();
    }
    BoxCounter(const BoxCounter&) = delete;
    BoxCounter& operator=(const BoxCounter&) = delete;

    int Count() const { return count_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    std::thread thread_;
};

class SerialFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ui::App().SetTitle("Varnedo");
        main = std::make_unique<TMainForm>(nullptr);
        MainForm = main.get();
        main->Show();
        // The show sequence may have read a port from a settings file beside the test program.
        main->PortNumber = 0;
    }
    void TearDown() override {
        SciPort.Close();
        main->Memo1.Clear();
        MainForm = nullptr;
        main.reset();
    }

    std::unique_ptr<TMainForm> main;
};

// ---- unplugging while the device streams ---------------------------------------------------------

// A line the device sends while the port is known open: a number, two-byte characters whose first
// bytes lie in 0x80-0x8F (held across reads) and above, and ASCII.
std::string NumberedLine(int number) {
    char head[16];
    std::snprintf(head, sizeof head, "L%06d ", number);
    return std::string(head) +
           "\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A"  // あいう漢字
           "\x93\xFA\x96\x7B"                          // 日本
           " abc 0123456789";
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// Bytes still travelling when the device goes away (lost with it, never compared), and the empty
// lines that end what an unplug cut short.
bool IsInFlightFiller(const std::string& line) { return line.find_first_not_of('~') == std::string::npos; }

struct CycleFigures {
    int worstTicksToRed = 0;
    int worstTicksToOpen = 0;
    int worstTicksToData = 0;
};

// Unplugged while it streams, the lamp turns red at the next tick; plugged in again,
// the port opens within two ticks (nearly always at the first) and what the device then sends shows
// at the tick after. Every
// line sent while the port was open arrives once, whole and in order; only bytes still in flight
// at the unplug are lost.
TEST_F(SerialFaults, UnplugAndReplugWhileStreamingLosesNothingSentWhileOpen) {
    const int cycles = Scaled(100, 500);
    constexpr int kLinesPerCycle = 24;
    VirtualPort port(80);
    main->PortNumber = 80;
    TickCounter ticks(*main);
    BoxCounter boxes;
    ASSERT_TRUE(PumpUntil([&] { return main->LinkState == 1; }));

    std::vector<std::string> sentLines;
    std::size_t bytesCompared = 0;
    CycleFigures worst;
    int number = 0;
    LARGE_INTEGER started, finished;
    QueryPerformanceCounter(&started);
    for (int cycle = 0; cycle < cycles; ++cycle) {
        SCOPED_TRACE(cycle);
        // Streams in several writes spread over ticks, each ending mid-line.
        std::string stream = "\n";  // ends a line that the last unplug cut short
        for (int i = 0; i < kLinesPerCycle; ++i) {
            sentLines.push_back(NumberedLine(++number));
            stream += sentLines.back() + "\n";
        }
        for (std::size_t at = 0; at < stream.size(); at += 97) {
            ASSERT_TRUE(port.Send(stream.substr(at, 97)));
            PumpUntil([] { return false; }, 7);
        }
        const std::string lastLine = sentLines.back() + "\r\n";
        ASSERT_TRUE(PumpUntil([&] { return main->Memo1.TextTail(static_cast<int>(lastLine.size())) == lastLine; }))
            << "the lines sent while the port was open did not all arrive";

        ASSERT_TRUE(port.Send(std::string(200, '~') + "\n" + std::string(150, '~')));
        port.Unplug();
        const int atUnplug = ticks.Count();
        ASSERT_TRUE(PumpUntil([&] { return main->Panel1.Color() == kRed; }));
        worst.worstTicksToRed = std::max(worst.worstTicksToRed, ticks.Count() - atUnplug);
        EXPECT_EQ(0, main->LinkState);
        // A few ticks find no device.
        const int failing = ticks.Count() + 3;
        PumpUntil([&] { return ticks.Count() >= failing; });
        EXPECT_EQ(kRed, main->Panel1.Color());

        port.Plug();
        const int atPlug = ticks.Count();
        ASSERT_TRUE(PumpUntil([&] { return main->LinkState == 1; }));
        worst.worstTicksToOpen = std::max(worst.worstTicksToOpen, ticks.Count() - atPlug);
        EXPECT_EQ(kGreen, main->Panel1.Color());
        // Reception goes on by itself: what is sent now shows at the next tick.
        const int lengthBefore = main->Memo1.TextLength();
        ASSERT_TRUE(port.Send("\n"));
        const int atSend = ticks.Count();
        ASSERT_TRUE(PumpUntil([&] { return main->Memo1.TextLength() > lengthBefore; }));
        worst.worstTicksToData = std::max(worst.worstTicksToData, ticks.Count() - atSend);
    }
    QueryPerformanceCounter(&finished);

    std::vector<std::string> arrived;
    for (const std::string& line : LinesOf(main->Memo1.Text())) {
        if (!IsInFlightFiller(line)) arrived.push_back(line);
    }
    for (const std::string& line : sentLines) bytesCompared += line.size() + 1;
    EXPECT_TRUE(arrived == sentLines) << "arrived " << arrived.size() << " lines of " << sentLines.size();
    EXPECT_LE(worst.worstTicksToRed, 1);
    EXPECT_LE(worst.worstTicksToOpen, 2);
    EXPECT_LE(worst.worstTicksToData, 2);
    EXPECT_EQ(0, boxes.Count());
    // No tick holds the window long enough to look hung, even on a machine other builds keep busy
    // (on an idle one the longest takes some 50 ms).
    EXPECT_LT(ticks.LongestMs(), 1000.0);

    std::printf(
        "unplug/replug: %d cycles in %.1f s, %zu lines (%zu bytes) compared; ticks to red <= %d, "
        "to open <= %d, to data <= %d; %d ticks, longest %.1f ms\n",
        cycles, MillisecondsBetween(started, finished) / 1000, sentLines.size(), bytesCompared, worst.worstTicksToRed,
        worst.worstTicksToOpen, worst.worstTicksToData, ticks.Count(), ticks.LongestMs());
    RecordProperty("cycles", cycles);
    RecordProperty("bytes_compared", static_cast<int>(bytesCompared));
}

// ---- ports that cannot be opened -----------------------------------------------------------------

struct UnusablePort {
    const char* behindIt;
    int number;
    std::string makeUnusable;  // vcom.sh arguments
};

// Whatever stands behind COMn while it cannot be used (nothing at all, or something that opens but is
// no serial line), every tick tries once and silently, and thousands of tries leave no handle, GDI
// object or heap memory behind; the first tick after the device appears opens it.
TEST_F(SerialFaults, UnusablePortIsRetriedSilentlyWithoutLeaks) {
    const int attempts = Scaled(2000, 20000);
    const UnusablePort cases[] = {
        {"no device", 81, "stop 81"},
        {"not a serial line (/dev/null)", 82, "map 82 /dev/null"},
    };
    for (const UnusablePort& c : cases) {
        SCOPED_TRACE(c.behindIt);
        RunPortScript(c.makeUnusable);
        main->PortNumber = c.number;
        main->LinkState = 0;
        BoxCounter boxes;
        // Ticks run here one after the other; the window's own timer gets no turn meanwhile.
        for (int i = 0; i < 200; ++i) main->Timer1Timer(nullptr);
        const Holdings before = Measure();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < attempts; ++i) main->Timer1Timer(nullptr);
        QueryPerformanceCounter(&end);
        const Holdings after = Measure();

        EXPECT_EQ(0, main->LinkState);
        EXPECT_EQ(kRed, main->Panel1.Color());
        EXPECT_EQ(0, boxes.Count());
        EXPECT_EQ(before.nextHandle, after.nextHandle) << "a handle was left open";
        EXPECT_EQ(before.nextGdiSlot, after.nextGdiSlot) << "a GDI object was left behind";
        const long long heapGrowth = static_cast<long long>(after.heapBytes) - static_cast<long long>(before.heapBytes);
        // Any block kept per attempt would add at least one byte per attempt.
        EXPECT_LT(heapGrowth, attempts) << "heap memory grows with the attempts";
        std::printf(
            "%s: %d attempts in %.2f s (%.3f ms each); next handle %#zx -> %#zx, GDI slot %u -> %u, "
            "heap in use %zu -> %zu bytes (%+lld), resident %zu -> %zu kB, private %zu -> %zu kB\n",
            c.behindIt, attempts, MillisecondsBetween(start, end) / 1000, MillisecondsBetween(start, end) / attempts,
            static_cast<std::size_t>(before.nextHandle), static_cast<std::size_t>(after.nextHandle), before.nextGdiSlot,
            after.nextGdiSlot, before.heapBytes, after.heapBytes, heapGrowth, before.residentKb, after.residentKb,
            before.privateKb, after.privateKb);

        VirtualPort port(c.number);
        main->Timer1Timer(nullptr);
        EXPECT_EQ(1, main->LinkState) << "the device appeared but the next tick did not open it";
        EXPECT_EQ(kGreen, main->Panel1.Color());
        ASSERT_TRUE(port.Send("here\n"));
        EXPECT_TRUE(PumpUntil([&] { return main->Memo1.TextTail(6) == "here\r\n"; }));
        main->OpenO1Click(nullptr);
    }
}

}  // namespace
