// What a screen reader in another process learns of the real program: the text area and the lamp
// through MSAA (role, name, value, states), the value following a received line, the caret where
// the system reports it, the text area's UI Automation element, and how often it is told of changes
// while text streams in. The Text pattern is tested in process (tests/win/ui_memo_access_test.cpp).
#include <gtest/gtest.h>

#include "support/program_driver.h"
#include "support/virtual_port.h"

#include "ui/system_library.h"
#include "ui/uia_declarations.h"

#include <cstdio>
#include <functional>

#include <string>
#include <vector>

using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::WaitUntil;
using testsupport::VirtualPort;

namespace {

constexpr const wchar_t* kTextAreaName = L"\u53D7\u4FE1\u30C6\u30AD\u30B9\u30C8";  // 受信テキスト
constexpr const wchar_t* kOpen = L"\u63A5\u7D9A\u4E2D";                            // 接続中
constexpr const wchar_t* kClosed = L"\u672A\u63A5\u7D9A";                          // 未接続

struct Accessible {
    explicit Accessible(HWND window) {
        AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object));
    }
    ~Accessible() {
        if (object) object->Release();
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const {
        BSTR text = nullptr;
        if (!object || FAILED((object->*get)(Self(), &text)) || !text) return L"";
        std::wstring result(text, SysStringLen(text));
        SysFreeString(text);
        return result;
    }
    std::wstring Name() const { return Text(&IAccessible::get_accName); }
    std::wstring Value() const { return Text(&IAccessible::get_accValue); }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const {
        VARIANT result;
        VariantInit(&result);
        return object && SUCCEEDED((object->*get)(Self(), &result)) && result.vt == VT_I4 ? result.lVal : -1;
    }
    static VARIANT Self() {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }
    IAccessible* object = nullptr;
};

// The events of one kind the program raises, heard out of context as a screen reader hears them.
struct EventCounter {
    explicit EventCounter(DWORD event, DWORD processId) {
        Counter() = this;
        hook = SetWinEventHook(event, event, nullptr, &Heard, processId, 0, WINEVENT_OUTOFCONTEXT);
    }
    ~EventCounter() {
        UnhookWinEvent(hook);
        Counter() = nullptr;
    }
    static EventCounter*& Counter() {
        static EventCounter* counter = nullptr;
        return counter;
    }
    static void CALLBACK Heard(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
        if (Counter()) Counter()->heard.push_back({window, object});
    }
    int Count(HWND window, LONG object) const {
        int count = 0;
        for (const auto& [w, o] : heard) count += w == window && o == object ? 1 : 0;
        return count;
    }
    HWINEVENTHOOK hook = nullptr;
    std::vector<std::pair<HWND, LONG>> heard;
};

void Pump(int milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    while (GetTickCount() < until) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(5);
    }
}

bool PumpUntil(const std::function<bool()>& condition) {
    return WaitUntil([&] {
        Pump(10);
        return condition();
    });
}

}  // namespace

// The text area is named text whose value is the rows on the screen; the lamp says in words whether
// the port is open; the caret sits where the text area put it, and it says so as it moves.
TEST(ScreenReader, ReadsTheTextAreaTheLampAndTheCaret) {
    CoInitialize(nullptr);
    ProgramFolder folder("screen-reader");
    RunningProgram program(folder);
    VirtualPort port(21);
    const Accessible memo(program.Memo());
    const Accessible lamp(program.Lamp());
    ASSERT_NE(nullptr, memo.object);
    ASSERT_NE(nullptr, lamp.object);
    EXPECT_EQ(ROLE_SYSTEM_TEXT, memo.Number(&IAccessible::get_accRole));
    EXPECT_EQ(kTextAreaName, memo.Name());
    EXPECT_NE(0, memo.Number(&IAccessible::get_accState) & STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(L"COM", lamp.Name());
    EXPECT_TRUE(PumpUntil([&] { return lamp.Value() == kClosed; })) << lamp.Value().size();
    EventCounter lampEvents(EVENT_OBJECT_VALUECHANGE, program.ProcessId());
    program.ChoosePort(21);
    EXPECT_TRUE(PumpUntil([&] { return lamp.Value() == kOpen; }));
    EXPECT_TRUE(PumpUntil([&] { return lampEvents.Count(program.Lamp(), OBJID_CLIENT) > 0; }));

    ASSERT_TRUE(port.Send("first line\r\n\x93\xFA\x96\x7B\r\n"));  // 日本
    EXPECT_TRUE(PumpUntil([&] { return memo.Value() == L"first line\r\n\u65E5\u672C\r\n"; }));

    EventCounter caretEvents(EVENT_OBJECT_LOCATIONCHANGE, program.ProcessId());
    PostMessageW(program.Memo(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(program.Memo(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(program.Memo(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return GetGUIThreadInfo(thread, &info) && info.hwndCaret == program.Memo(); }));
    EXPECT_LT(info.rcCaret.top, 20) << "the caret went to the first row, where the click was";
    EXPECT_TRUE(PumpUntil([&] { return caretEvents.Count(program.Memo(), OBJID_CARET) > 0; }));
    EXPECT_NE(0, memo.Number(&IAccessible::get_accState) & STATE_SYSTEM_FOCUSED);
}

// UI Automation finds the text area as a document under its name, and the lamp by its name (Wine
// serves no Value pattern property; the lamp's value is read through MSAA above).
TEST(ScreenReader, FindsTheTextAreaThroughUiAutomation) {
    ProgramFolder folder("automation");
    RunningProgram program(folder);
    using NodeFromHandle = HRESULT(WINAPI*)(HWND, HUIANODE*);
    using GetPropertyValue = HRESULT(WINAPI*)(HUIANODE, PROPERTYID, VARIANT*);
    using NodeRelease = BOOL(WINAPI*)(HUIANODE);
    const ui::UniqueLibrary automation = ui::LoadSystemLibrary(L"uiautomationcore.dll");
    const auto nodeFromHandle = ui::FindFunction<NodeFromHandle>(automation.get(), "UiaNodeFromHandle");
    const auto getProperty = ui::FindFunction<GetPropertyValue>(automation.get(), "UiaGetPropertyValue");
    const auto release = ui::FindFunction<NodeRelease>(automation.get(), "UiaNodeRelease");
    ASSERT_TRUE(nodeFromHandle && getProperty && release);
    HUIANODE node = nullptr;
    ASSERT_EQ(S_OK, nodeFromHandle(program.Memo(), &node));
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(S_OK, getProperty(node, 30003, &value));  // control type
    EXPECT_EQ(VT_I4, value.vt);
    EXPECT_EQ(50030, value.lVal) << "a document";
    ASSERT_EQ(S_OK, getProperty(node, 30005, &value));  // name
    ASSERT_EQ(VT_BSTR, value.vt);
    EXPECT_EQ(kTextAreaName, std::wstring(value.bstrVal));
    VariantClear(&value);
    release(node);
    ASSERT_EQ(S_OK, nodeFromHandle(program.Lamp(), &node));
    ASSERT_EQ(S_OK, getProperty(node, 30005, &value));
    ASSERT_EQ(VT_BSTR, value.vt);
    EXPECT_EQ(std::wstring(L"COM"), value.bstrVal);
    VariantClear(&value);
    release(node);
}

// While the device streams lines, clients hear that the text changed a few times a second, not at
// every line.
TEST(ScreenReader, HearsOfStreamingTextAFewTimesASecond) {
    CoInitialize(nullptr);
    ProgramFolder folder("burst");
    RunningProgram program(folder);
    VirtualPort port(22);
    program.ChoosePort(22);
    const Accessible lamp(program.Lamp());
    ASSERT_TRUE(PumpUntil([&] { return lamp.Value() == kOpen; }));
    EventCounter events(EVENT_OBJECT_VALUECHANGE, program.ProcessId());
    const DWORD start = GetTickCount();
    int lines = 0;
    while (GetTickCount() - start < 2000) {
        ASSERT_TRUE(port.Send("line " + std::to_string(lines++) + "\r\n"));
        Pump(20);
    }
    Pump(600);
    const double seconds = (GetTickCount() - start) / 1000.0;
    const int heard = events.Count(program.Memo(), OBJID_CLIENT);
    std::printf("%d value changes heard for %d lines in %.1f s\n", heard, lines, seconds);
    EXPECT_GE(heard, 2) << "the changes were told";
    EXPECT_LE(heard, 4 * seconds + 2) << lines << " lines in " << seconds << " s";
    EXPECT_LT(heard, lines / 2);
}
