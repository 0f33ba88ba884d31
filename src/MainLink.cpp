// The link to the device: the only place that opens and closes the port, and with it the lamp,
// LinkState and the connection time, so that they can never disagree.
#include "Main.h"

#include "local_clock.h"

namespace {

constexpr COLORREF kLampOpen = 0x0000FF00;
constexpr COLORREF kLampClosed = 0x000000FF;

}  // namespace

bool TMainForm::OpenLink() {
    // A failed attempt is silent; the next tick tries again. Reading starts at the next tick.
    if (SciPort.Open(PortNumber, 9600, 8, 1, 0, 0, 0) != 0) return false;
    SciOpenGuard opened(SciPort);
    Panel1.SetColor(kLampOpen);
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
    LinkState = 0;
}
