// The receive tick, port choice and reconnect: opens the chosen port, drains what the device sent,
// shows it in the text area and the recent-text strip, and keeps the status line.
#include "Main.h"

#include "local_clock.h"

#include "core/date_time.h"
#include "core/receive_decoder.h"
#include "core/sjis_boundary.h"

#include <algorithm>
#include <utility>

namespace {

// One tick's work is bounded so that the window repaints and answers the user even while a device
// floods the line: it reads for at most this long and this much, and whatever is left waits in the
// driver's queue for the next tick, in order. What was read goes to the text area in one addition.
// The reading stays well below the tick's period, so that the tick with its addition and paint does
// too; a flood still comes in at more than a megabyte a second. The tick's whole length is held
// near this: it reads only for what the slice leaves after showing the bytes read, so that a
// slower machine reads less at a time rather than taking longer.
constexpr double kMaxDrainMilliseconds = 12;
constexpr std::size_t kMaxBytesPerTick = 1024 * 1024;
// A device that floods the line refills the driver's queue within a millisecond of its being
// emptied. Once a tick has read this much, it takes the queue's emptiness as such a pause and looks
// again, for its remaining time, rather than leave the flood waiting for the next tick; a device at
// 115,200 baud's pace brings far less than this between two ticks, so it never waits for one.
constexpr std::size_t kFloodBytes = 4096;
constexpr int kFloodPauseLooks = 3;

std::string LocaleSeparator(LCTYPE which, const char* fallback) {
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, which, buffer, sizeof buffer) <= 1) return fallback;
    return buffer;
}

}  // namespace

void TMainForm::Timer1Timer(ui::Object* /*Sender*/) {
    // Ticks never overlap: the timer is off while one runs. It stays off while an error box is
    // shown, so boxes from later ticks cannot pile up, and comes back on once the box is closed.
    Timer1.SetEnabled(false);
    try {
        if (LinkState == 0) {
            OpenLink();
        } else if (LinkState == 1) {
            DrainPort();
        }
        StatusBar1.SetSimpleText(core::StatusLine(LocalNow(), ConnectTime, LocaleSeparator(LOCALE_SDATE, "/"),
                                                  LocaleSeparator(LOCALE_STIME, ":")));
    } catch (...) {
        ui::App().ShowException(std::current_exception());
    }
    Timer1.SetEnabled(true);
}

void TMainForm::DrainPort() {
    // A character whose first byte is still on its way to the text area waits for its second byte.
    core::ReceiveState state{Panel2.Caption(), LeadByte, core::EndsInFirstByte(pendingText)};
    const double started = ui::MillisecondsNow();
    const std::size_t pendingBefore = pendingText.size();
    int emptyLooks = 0;
    // Text the text area could not take yet stays in front and bounds what is read.
    while (pendingText.size() < kMaxBytesPerTick &&
           receiveBudget.MayRead(ui::MillisecondsNow() - started, pendingText.size() - pendingBefore,
                                 kMaxDrainMilliseconds)) {
        const std::uint32_t waiting = SciPort.InQueue();
        if (waiting == 0) {
            if (pendingText.size() - pendingBefore < kFloodBytes || ++emptyLooks > kFloodPauseLooks ||
                SciPort.DeviceLost()) {
                break;
            }
            Sleep(1);
            continue;
        }
        emptyLooks = 0;
        std::uint32_t got = 0;
        SciPort.Read(RecvBuf, std::min<std::uint32_t>(waiting, sizeof RecvBuf), got);
        // The driver said bytes were waiting but none came: end this tick rather than spin.
        if (got == 0) break;
        core::DecodeReceived(std::string_view(reinterpret_cast<const char*>(RecvBuf), got), state, pendingText);
        LeadByte = state.leadByte;
    }
    const double showStarted = ui::MillisecondsNow();
    const std::size_t read = pendingText.size() - pendingBefore;
    const bool stripChanged = state.strip != Panel2.Caption();
    if (stripChanged) Panel2.SetCaption(state.strip);
    // An addition the text area refuses throws with its text still pending; the next tick offers it
    // again, so nothing read is lost and nothing is shown twice.
    const bool textAdded = ShowPendingText();
    if (stripChanged || textAdded) Memo1.ScrollToEnd();
    if (textAdded) receiveBudget.Shown(read, ui::MillisecondsNow() - showStarted);

    // An unplugged adapter shows only as the driver refusing to be asked; treat it like a reconnect,
    // so the lamp turns red and the following ticks reopen the port as soon as the device is back.
    if (SciPort.DeviceLost()) CloseLink(ConnectTimeOnClose::Keep);
}

bool TMainForm::ShowPendingText() {
    if (holdReceivedText) return false;
    return core::ShowWholeCharacters(pendingText, [this](std::string_view text) { Memo1.AppendText(text); });
}

std::string TMainForm::TakePendingText() { return std::exchange(pendingText, std::string()); }

void TMainForm::OnTextCleared() {
    // What had not reached the text area went with the text, all but a first byte that waits for
    // its second; LeadByte stays as it is.
    pendingText = core::KeptByClear(pendingText);
}

void TMainForm::ComboBox1Change(ui::Object* /*Sender*/) {
    CloseLink(ConnectTimeOnClose::Clear);
    PortNumber = ComboBox1.ItemIndex() + 1;
}

void TMainForm::OpenO1Click(ui::Object* /*Sender*/) {
    // The connection time keeps running until the next successful open replaces it.
    CloseLink(ConnectTimeOnClose::Keep);
}
