// The link to the device: the only place that opens and closes the port, and with it the lamp,
// LinkState and the connection time, so that they can never disagree.
#include "Main.h"

#include "local_clock.h"

namespace {

constexpr COLORREF kLampOpen = 0x0000FF00;
constexpr COLORREF kLampClosed = 0x000000FF;
// What the lamp's colour says, for screen readers.
constexpr const char* kLampName = "COM";
constexpr const char* kLampOpenText = "接続中";
constexpr const char* kLampClosedText = "未接続";

}  // namespace

bool TMainForm::OpenLink() {
    // A failed attempt is silent; the next tick tries again. Reading starts at the next tick.
    if (SciPort.Open(PortNumber, 9600, 8, 1, 0, 0, 0) != 0) return false;
    SciOpenGuard opened(SciPort);
    Panel1.SetColor(kLampOpen);
    Panel1.SetAccessibleText(kLampName, kLampOpenText);
    ApplyColourScheme();
    LinkState = 1;
    ConnectTime = LocalNow();
    opened.Keep();
    return true;
}

void TMainForm::CloseLink(ConnectTimeOnClose connectTime) {
    if (connectTime == ConnectTimeOnClose::Clear && LinkState != 0) ConnectTime = 0;
    SciPort.Close();
    Panel1.SetColor(kLampClosed);
    Panel1.SetAccessibleText(kLampName, kLampClosedText);
    LinkState = 0;
}
