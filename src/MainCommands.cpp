// Showing and closing the main window, and the simple commands: close, clear, copy, paste, help
// and version.
#include "Main.h"

#include "Help.h"
#include "Version.h"

#include "core/app_dir.h"
#include "ui/guarded_call.h"
#include "ui/message_box.h"
#include "ui/module_path.h"

#include <algorithm>

namespace {

constexpr UINT kExitQuestionStyle = MB_YESNO | MB_DEFBUTTON2 | MB_SETFOREGROUND;
static_assert(kExitQuestionStyle == 0x10104);

// Half the free space, rounded toward zero, and never off the top or left edge.
int CentredOrigin(int desktopSize, int windowSize) { return std::max(0, (desktopSize - windowSize) / 2); }

}  // namespace

void TMainForm::FormShow(ui::Object* /*Sender*/) {
    AppDir = core::AppDirFromModulePath(ui::ModuleFileName());
    LoadSettings();
    CloseLink(ConnectTimeOnClose::Clear);
    StatusBar1.SetSimple(true);
    Timer1.SetEnabled(true);
}

void TMainForm::CentreOnDesktop() {
    // The whole virtual screen, across all monitors.
    // A window started minimised is placed where it will be restored.
    const SIZE outer = OuterSize();
    MoveTo(CentredOrigin(GetSystemMetrics(SM_CXVIRTUALSCREEN), outer.cx),
           CentredOrigin(GetSystemMetrics(SM_CYVIRTUALSCREEN), outer.cy));
}

void TMainForm::FormCloseQuery(ui::Object* /*Sender*/, bool& CanClose) {
    CanClose = true;
    const int answer =
        ui::ShowMessageBox(Handle(), "ソフトウェアを終了します。宜しいですか？", "警告", kExitQuestionStyle);
    if (answer != IDYES) {
        CanClose = false;
        return;
    }
    // Read only now: a tick may have opened the port while the question was open.
    CloseLink(ConnectTimeOnClose::Keep);
    // The user asked to end the program: a settings file that cannot be written is reported,
    // but does not keep the window open.
    try {
        SaveSettings();
    } catch (...) {
        ui::ShowCurrentException();
    }
}

void TMainForm::CloseC1Click(ui::Object* /*Sender*/) {
    // Posted, so the window does not go away beneath the menu command that is still running.
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TMainForm::Button1Click(ui::Object* /*Sender*/) {
    // LeadByte stays: a first byte that waits still joins the next byte received.
    Search1.Cancel();
    Memo1.Clear();
    Panel2.SetCaption("");
    OnTextCleared();
}

void TMainForm::CopyC1Click(ui::Object* /*Sender*/) { Memo1.CopyToClipboard(); }

void TMainForm::PasteP1Click(ui::Object* /*Sender*/) { Memo1.PasteFromClipboard(); }

void TMainForm::H2Click(ui::Object* /*Sender*/) { HelpForm->ShowModal(); }

void TMainForm::V1Click(ui::Object* /*Sender*/) { VerForm->ShowModal(); }
