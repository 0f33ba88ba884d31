#include "user_actions.h"

#include "bench_clock.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>

namespace bench {

namespace {

// A series stops repeating after this much time in it.
constexpr double kSeriesBudgetMs = 3000;
// Between two timed actions the window's other messages run: a deferred scroll bar, work left
// for idle time, the receive tick.
constexpr double kSettleMs = 15;
// The resize and the text-size steps run longer series than the other actions: under Wine their
// cost has two levels (a text-size step about 12 ms or about 36 ms, with text or without) that
// each last for seconds, and a short series may fall wholly into the rarer one, which then decides
// the ratio to the empty window.
constexpr int kLayoutRepeats = 25;
constexpr int kCharactersTyped = 3;

// Holds keys down as GetKeyState sees them on this thread, for messages sent while it lives.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(saved);
        BYTE state[256];
        std::memcpy(state, saved, sizeof state);
        for (const int key : keys) state[key] |= 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved[256];
};

class Timer {
public:
    Timer(BenchForm& bench, int repeats) : bench(bench), repeats(repeats) {}

    bool More() const { return static_cast<int>(took.size()) < repeats && (took.empty() || spent < kSeriesBudgetMs); }

    // The action and the paint of every window it left to be painted (UpdateWindow of the main
    // window alone would leave its children's paints out).
    void Time(const std::function<void()>& action) {
        const double start = NowMs();
        action();
        RedrawWindow(bench.Form().Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const double ms = NowMs() - start;
        took.push_back(ms);
        spent += ms;
        bench.Pump().RunFor(kSettleMs);
    }

    ActionCost Cost(std::string name) const { return {std::move(name), Summarise(took)}; }

private:
    BenchForm& bench;
    int repeats;
    std::vector<double> took;
    double spent = 0;
};

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

int Below(std::mt19937& random, int bound) {
    return bound > 0 ? static_cast<int>(random() % static_cast<unsigned>(bound)) : 0;
}

void Key(HWND memo, int key) { SendMessageA(memo, WM_KEYDOWN, key, 0); }

// Drags the scroll bar's thumb to a place: the text area takes the place from the scroll bar's
// track position, which outside a real drag is its position.
void DragThumb(HWND memo, std::mt19937& random) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(memo, SB_VERT, &info);
    const int last = std::max(info.nMin, info.nMax - static_cast<int>(info.nPage) + 1);
    info.fMask = SIF_POS;
    info.nPos = info.nMin + Below(random, last - info.nMin + 1);
    SetScrollInfo(memo, SB_VERT, &info, FALSE);
    SendMessageA(memo, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, info.nPos & 0xFFFF), 0);
    SendMessageA(memo, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, info.nPos & 0xFFFF), 0);
}

// The text area's selection, start and end, in its 32-bit form.
std::pair<DWORD, DWORD> Selection(HWND memo) {
    DWORD start = 0, end = 0;
    SendMessageA(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Click(HWND memo, int x, int y) {
    SendMessageA(memo, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
    SendMessageA(memo, WM_LBUTTONUP, 0, Point(x, y));
}

}  // namespace

ActionsResult MeasureActions(BenchForm& bench, int repeats, std::mt19937& random) {
    TMainForm& form = bench.Form();
    const HWND main = form.Handle();
    const HWND memo = form.Memo1.Handle();
    ActionsResult result;
    auto add = [&](const Timer& timer, const char* name) { result.costs.push_back(timer.Cost(name)); };

    {
        RECT frame{};
        GetWindowRect(main, &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        Timer resize(bench, kLayoutRepeats * 2);
        const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        while (resize.More()) {
            resize.Time([&] { SetWindowPos(main, nullptr, 0, 0, width * 4 / 5, height * 4 / 5, flags); });
            resize.Time([&] { SetWindowPos(main, nullptr, 0, 0, width, height, flags); });
        }
        add(resize, "resize");
    }
    {
        Timer larger(bench, kLayoutRepeats), smaller(bench, kLayoutRepeats);
        while (larger.More() && smaller.More()) {
            larger.Time([&] { form.Button2Click(nullptr); });
            smaller.Time([&] { form.Button3Click(nullptr); });
        }
        add(larger, "text size larger");
        add(smaller, "text size smaller");
    }
    {
        const int scheme = form.RadioGroup1.ItemIndex();
        Timer colours(bench, repeats);
        for (int next = scheme; colours.More();) {
            next = (next + 1) % form.RadioGroup1.ItemCount();
            colours.Time([&] { form.RadioGroup1.SetItemIndex(next); });
        }
        form.RadioGroup1.SetItemIndex(scheme);
        if (scheme >= 0) form.RadioGroup1Click(nullptr);
        add(colours, "colour scheme");
    }
    {
        Timer thumb(bench, repeats);
        while (thumb.More()) thumb.Time([&] { DragThumb(memo, random); });
        add(thumb, "thumb drag");
    }
    {
        HeldKeys control({VK_CONTROL});
        Timer home(bench, repeats), end(bench, repeats);
        while (home.More() && end.More()) {
            home.Time([&] { Key(memo, VK_HOME); });
            end.Time([&] { Key(memo, VK_END); });
        }
        result.keysHeld = Selection(memo).second == bench.TextAreaBytes();
        add(home, "Ctrl+Home");
        add(end, "Ctrl+End");
    }
    {
        Timer up(bench, repeats), down(bench, repeats);
        while (up.More()) up.Time([&] { Key(memo, VK_PRIOR); });
        while (down.More()) down.Time([&] { Key(memo, VK_NEXT); });
        add(up, "PageUp");
        add(down, "PageDown");
    }
    {
        RECT area{};
        GetWindowRect(memo, &area);
        const LPARAM centre = Point((area.left + area.right) / 2, (area.top + area.bottom) / 2);
        Timer wheel(bench, repeats * 2);
        while (wheel.More()) {
            wheel.Time([&] { SendMessageA(memo, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), centre); });
            wheel.Time([&] { SendMessageA(memo, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), centre); });
        }
        add(wheel, "wheel");
    }

    const SIZE view = ClientSize(memo);
    {
        Timer typing(bench, repeats * kCharactersTyped), undo(bench, repeats);
        while (undo.More()) {
            DragThumb(memo, random);
            Click(memo, Below(random, view.cx), Below(random, view.cy));
            const std::uint64_t before = bench.ReceivedBytes();
            for (int i = 0; i < kCharactersTyped; ++i) typing.Time([&] { SendMessageA(memo, WM_CHAR, 'a' + i, 0); });
            undo.Time([&] { SendMessageA(memo, WM_CHAR, 0x1A, 0); });  // Ctrl+Z
            result.textKept = result.textKept && bench.ReceivedBytes() == before;
        }
        add(typing, "typing (a character)");
        add(undo, "undo (Ctrl+Z)");
    }
    {
        Timer mouse(bench, repeats);
        while (mouse.More()) {
            DragThumb(memo, random);
            mouse.Time([&] {
                SendMessageA(memo, WM_LBUTTONDOWN, MK_LBUTTON, Point(view.cx / 4, view.cy / 4));
                SendMessageA(memo, WM_MOUSEMOVE, MK_LBUTTON, Point(view.cx / 2, view.cy / 2));
                SendMessageA(memo, WM_MOUSEMOVE, MK_LBUTTON, Point(view.cx * 3 / 4, view.cy * 3 / 4));
                SendMessageA(memo, WM_LBUTTONUP, 0, Point(view.cx * 3 / 4, view.cy * 3 / 4));
            });
        }
        add(mouse, "select by mouse");
    }
    {
        Click(memo, view.cx / 3, view.cy / 3);
        HeldKeys shift({VK_SHIFT});
        Timer keys(bench, repeats * 2);
        while (keys.More()) {
            keys.Time([&] { Key(memo, VK_DOWN); });
            keys.Time([&] { Key(memo, VK_RIGHT); });
        }
        const auto [start, end] = Selection(memo);
        result.keysHeld = result.keysHeld && (start != end || bench.TextAreaBytes() == 0);
        add(keys, "select by keys");
    }
    // Back at the newest line, as the receive path keeps the view.
    Click(memo, 0, 0);
    {
        HeldKeys control({VK_CONTROL});
        Key(memo, VK_END);
    }
    bench.Pump().RunFor(kSettleMs);
    return result;
}

double MeasureClear(BenchForm& bench) {
    Timer clear(bench, 1);
    clear.Time([&] { bench.Form().Button1Click(nullptr); });
    return clear.Cost("clear").took.max;
}

}  // namespace bench
