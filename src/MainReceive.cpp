// The receive tick, port choice and reconnect: opens the chosen port, drains what the device sent,
// shows it in the text area and the recent-text strip, and keeps the status line.
#include "Main.h"

#include "core/date_time.h"
#include "core/receive_decoder.h"
#include "core/sjis_boundary.h"

#include <algorithm>
#include <utility>

namespace {

constexpr COLORREF kLampOpen = 0x0000FF00;
constexpr COLORREF kLampClosed = 0x000000FF;

// One tick's work is bounded so that the window repaints and answers the user even while a device
// floods the line; whatever is left waits in the driver's queue for the next tick, in order.
// Showing text is the slow part, not reading it (under Wine a control character costs the text area
// about a third of a millisecond), so the bytes are read and shown a slice at a time and the time
// spent showing them counts: the last slice of a tick can add only about 100 ms to it.
constexpr std::uint32_t kSliceBytes = 256;
constexpr ULONGLONG kMaxDrainMilliseconds = 40;

core::DateTime Now()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return core::EncodeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

std::string LocaleSeparator(LCTYPE which, const char* fallback)
{
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, which, buffer, sizeof buffer) <= 1) return fallback;
    return buffer;
}

}  // namespace

void TMainForm::Timer1Timer(ui::Object* /*Sender*/)
{
    // Ticks never overlap: the timer is off while one runs. It stays off while an error box is
    // shown, so boxes from later ticks cannot pile up, and comes back on once the box is closed.
    Timer1.SetEnabled(false);
    try {
        if (LinkState == 0) {
            TryOpenPort();
        } else if (LinkState == 1) {
            DrainPort();
        }
        StatusBar1.SetSimpleText(core::StatusLine(Now(), ConnectTime, LocaleSeparator(LOCALE_SDATE, "/"),
                                                  LocaleSeparator(LOCALE_STIME, ":")));
    } catch (...) {
        ui::App().ShowException(std::current_exception());
    }
    Timer1.SetEnabled(true);
}

void TMainForm::TryOpenPort()
{
    // A failed attempt is silent; the next tick tries again. Reading starts at the next tick.
    if (SciPort.Open(PortNumber, 9600, 8, 1, 0, 0, 0) != 0) return;
    Panel1.SetColor(kLampOpen);
    RadioGroup1Click(nullptr);
    LinkState += 1;
    ConnectTime = Now();
}

void TMainForm::DrainPort()
{
    // A character whose first byte the text area holds back still waits for its second byte.
    core::ReceiveState state{Panel2.Caption(), LeadByte, !heldTextByte.empty()};
    bool textAdded = false;
    const ULONGLONG started = GetTickCount64();
    do {
        const std::uint32_t waiting = SciPort.InQueue();
        if (waiting == 0) break;
        std::uint32_t got = 0;
        SciPort.Read(RecvBuf, std::min<std::uint32_t>(waiting, kSliceBytes), got);
        // The driver said bytes were waiting but none came: end this tick rather than spin.
        if (got == 0) break;
        std::string text;
        core::DecodeReceived(std::string_view(reinterpret_cast<const char*>(RecvBuf), got), state, text);
        LeadByte = state.leadByte;
        if (!text.empty()) {
            AppendReceivedText(text);
            textAdded = true;
        }
    } while (GetTickCount64() - started < kMaxDrainMilliseconds);

    const bool stripChanged = state.strip != Panel2.Caption();
    if (stripChanged) Panel2.SetCaption(state.strip);
    if (stripChanged || textAdded) Memo1.ScrollToEnd();

    // An unplugged adapter shows only as the driver refusing to be asked; treat it like a reconnect,
    // so the lamp turns red and the following ticks reopen the port as soon as the device is back.
    if (SciPort.DeviceLost()) OpenO1Click(nullptr);
}

void TMainForm::AppendReceivedText(std::string_view text)
{
    heldTextByte.append(text);
    const std::size_t complete = core::CompleteCharactersLength(heldTextByte);
    if (complete == 0) return;
    Memo1.AppendText(std::string_view(heldTextByte).substr(0, complete));
    heldTextByte.erase(0, complete);
}

std::string TMainForm::TakeHeldTextByte()
{
    return std::exchange(heldTextByte, std::string());
}

void TMainForm::OnTextCleared()
{
    // A first byte held back from the text area went with the text; LeadByte stays as it is.
    heldTextByte.clear();
}

void TMainForm::ComboBox1Change(ui::Object* /*Sender*/)
{
    if (LinkState != 0) {
        SciPort.Close();
        ConnectTime = 0;
        Panel1.SetColor(kLampClosed);
    }
    PortNumber = ComboBox1.ItemIndex() + 1;
    LinkState = 0;
}

void TMainForm::OpenO1Click(ui::Object* /*Sender*/)
{
    // The connection time keeps running until the next successful open replaces it.
    SciPort.Close();
    Panel1.SetColor(kLampClosed);
    LinkState = 0;
}
