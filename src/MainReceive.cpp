// The receive tick, port choice and reconnect: opens the chosen port, drains what the device sent,
// shows it in the text area and the recent-text strip, and keeps the status line.
#include "Main.h"

#include "core/date_time.h"
#include "core/receive_decoder.h"
#include "core/sjis_boundary.h"
#include "core/text_slice.h"

#include <algorithm>
#include <utility>

namespace {

constexpr COLORREF kLampOpen = 0x0000FF00;
constexpr COLORREF kLampClosed = 0x000000FF;

// One tick's work is bounded so that the window repaints and answers the user even while a device
// floods the line; whatever is left waits in the driver's queue for the next tick, in order.
// Showing text is what costs, not reading it. Every addition to the text area costs a fixed part
// (under Wine from some 5 ms for an empty text area to 30 ms for 8 MB, while the window is on the
// screen) besides a part per character, which depends on the characters: a control character costs
// about a third of a millisecond, a hundred times an ordinary byte, and kanji cost more than ASCII.
// So the text goes to the text area in few slices bounded by weight (see core/text_slice.h), and
// the weight a slice may have follows how long the last full slices took, aiming at
// kSliceMilliseconds each.
constexpr std::size_t kControlCharacterWeight = 128;
constexpr std::size_t kMinSliceWeight = 4 * 1024;
constexpr std::size_t kMaxSliceWeight = 256 * 1024;
constexpr double kSliceMilliseconds = 40;
constexpr ULONGLONG kMaxDrainMilliseconds = 40;

double MillisecondsNow()
{
    static const double ticksPerMillisecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMillisecond;
}

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
    // A character whose first byte is still held back waits for its second byte.
    core::ReceiveState state{Panel2.Caption(), LeadByte,
                             core::CompleteCharactersLength(heldTextByte) != heldTextByte.size()};
    bool textAdded = false;
    const ULONGLONG started = GetTickCount64();
    do {
        const bool sliceFilled = ReadReceived(state);
        if (!ShowReceivedSlice()) break;
        textAdded = true;
        // The queue was emptied and all of it shown; what trickled in meanwhile waits for the next
        // tick rather than cost a whole addition now.
        if (!sliceFilled) break;
    } while (GetTickCount64() - started < kMaxDrainMilliseconds);

    const bool stripChanged = state.strip != Panel2.Caption();
    if (stripChanged) Panel2.SetCaption(state.strip);
    if (stripChanged || textAdded) Memo1.ScrollToEnd();

    // An unplugged adapter shows only as the driver refusing to be asked; treat it like a reconnect,
    // so the lamp turns red and the following ticks reopen the port as soon as the device is back.
    if (SciPort.DeviceLost()) OpenO1Click(nullptr);
}

bool TMainForm::ReadReceived(core::ReceiveState& state)
{
    // Reads until a slice's worth of text waits to be shown (true) or the driver's queue is empty.
    std::size_t weight = core::TextWeight(heldTextByte, kControlCharacterWeight);
    while (weight < SliceWeight()) {
        const std::uint32_t waiting = SciPort.InQueue();
        if (waiting == 0) return false;
        std::uint32_t got = 0;
        SciPort.Read(RecvBuf, std::min<std::uint32_t>(waiting, sizeof RecvBuf), got);
        // The driver said bytes were waiting but none came: end this tick rather than spin.
        if (got == 0) return false;
        std::string text;
        core::DecodeReceived(std::string_view(reinterpret_cast<const char*>(RecvBuf), got), state, text);
        LeadByte = state.leadByte;
        weight += core::TextWeight(text, kControlCharacterWeight);
        heldTextByte += text;
    }
    return true;
}

bool TMainForm::ShowReceivedSlice()
{
    // Only whole characters go to the text area: it converts each addition on its own, so a first
    // byte added without its second would show as a stray character and the second as another.
    const std::string_view complete =
        std::string_view(heldTextByte).substr(0, core::CompleteCharactersLength(heldTextByte));
    const std::size_t length = core::SliceLength(complete, SliceWeight(), kControlCharacterWeight);
    if (length == 0) return false;
    const bool cutShort = length < complete.size();
    const double started = MillisecondsNow();
    Memo1.AppendText(complete.substr(0, length));
    const double took = MillisecondsNow() - started;
    heldTextByte.erase(0, length);
    // Only a slice that the weight cut short tells how much the text area takes in the time aimed
    // at; the next one grows or shrinks by the ratio, at most twofold at a time.
    if (cutShort) {
        const double ratio = std::clamp(kSliceMilliseconds / std::max(took, 1.0), 0.5, 2.0);
        sliceWeight = std::clamp(static_cast<std::size_t>(static_cast<double>(SliceWeight()) * ratio), kMinSliceWeight,
                                 kMaxSliceWeight);
    }
    return true;
}

std::size_t TMainForm::SliceWeight() const
{
    return sliceWeight == 0 ? kMinSliceWeight : sliceWeight;
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
