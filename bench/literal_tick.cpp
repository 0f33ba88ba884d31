#include "literal_tick.h"

#include <cstring>
#include <string>

namespace bench {

namespace {

constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kCarriageReturn = 0x0D;
constexpr std::size_t kStripRestart = 30;

void ShowPiece(TMainForm& form, const std::string& piece) {
    // The controls hold zero-terminated texts: a received zero byte adds nothing.
    const std::string visible = piece.c_str();
    form.Memo1.SetText(form.Memo1.Text() + visible);
    if (form.Panel2.Caption().size() >= kStripRestart) {
        form.Panel2.SetCaption(visible);
    } else {
        form.Panel2.SetCaption(form.Panel2.Caption() + visible);
    }
    const LRESULT lines = SendMessageA(form.Memo1.Handle(), EM_GETLINECOUNT, 0, 0);
    SendMessageA(form.Memo1.Handle(), EM_LINESCROLL, 0, lines);
}

void HandleOneByte(TMainForm& form) {
    std::memset(form.RecvBuf, 0, sizeof form.RecvBuf);
    std::uint32_t got = 0;
    SciPort.Read(form.RecvBuf, 1, got);
    const unsigned char b = form.RecvBuf[0];
    if (b == kLineFeed) {
        // An empty line added at the end: an insertion, not a rewrite.
        form.Memo1.AppendText("\r\n");
        return;
    }
    if (b == kCarriageReturn) return;
    std::string piece;
    if (form.LeadByte != 0) {
        piece = {static_cast<char>(form.LeadByte), static_cast<char>(b)};
        form.LeadByte = 0;
    } else if ((b & 0xF0) == 0x80) {
        form.LeadByte = b;
    } else {
        piece.assign(1, static_cast<char>(b));
    }
    if (!piece.empty()) ShowPiece(form, piece);
}

}  // namespace

void LiteralTick(TMainForm& form) {
    form.Timer1.SetEnabled(false);
    if (form.LinkState == 0) {
        form.OpenLink();
    } else if (form.LinkState == 1) {
        while (SciPort.InQueue() != 0) HandleOneByte(form);
    }
    form.Timer1.SetEnabled(true);
}

}  // namespace bench
