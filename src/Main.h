// The main window: the live view of the serial line (link lamp, port list, recent-text strip, text
// area, status line) and the commands around it. The receive tick, the colour schemes and text
// size, the settings file and the transcripts each live in their own Main*.cpp.
#pragma once

#include "Rsunit.h"

#include "core/text_size.h"
#include "core/tick_budget.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/file_dialog.h"
#include "ui/find_dialog.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/main_menu.h"
#include "ui/memo.h"
#include "ui/memo_search.h"
#include "ui/panel.h"
#include "ui/radio_group.h"
#include "ui/status_bar.h"
#include "ui/timer.h"
#include "ui/work_progress.h"

#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TMainForm : public ui::Form {
public:
    explicit TMainForm(ui::Form* Owner);

    // Menu command ids. Tests and outside automation send these, since Wine cannot read another
    // process's menus.
    static constexpr UINT OpenO1 = 0x0101;
    static constexpr UINT LoadL1 = 0x0102;
    static constexpr UINT SaveS1 = 0x0103;
    static constexpr UINT CloseC1 = 0x0104;
    static constexpr UINT CopyC1 = 0x0201;
    static constexpr UINT PasteP1 = 0x0202;
    static constexpr UINT H2 = 0x0301;
    static constexpr UINT V1 = 0x0302;
    // Positions of the popups on the menu bar.
    static constexpr int File1 = 0;
    static constexpr int Edit1 = 1;
    static constexpr int H1 = 2;

    ui::Panel Panel4;
    ui::Panel Panel3;
    ui::Image Image1;
    ui::Panel Panel1;
    ui::Label Label1;
    ui::ComboBox ComboBox1;
    ui::RadioGroup RadioGroup1;
    ui::GroupBox GroupBox1;
    ui::Button Button2;
    ui::Button Button3;
    ui::Button Button1;
    ui::Panel Panel2;
    ui::Memo Memo1;
    ui::StatusBar StatusBar1;
    ui::Timer Timer1;
    ui::MainMenu MainMenu1;
    ui::OpenDialog OpenDialog1;
    ui::SaveDialog SaveDialog1;
    ui::FindDialog FindDialog1{*this};
    ui::MemoSearch Search1{Memo1};

    // Show and exit (MainCommands.cpp).
    void FormShow(ui::Object* Sender);
    void FormCloseQuery(ui::Object* Sender, bool& CanClose);
    // Simple commands (MainCommands.cpp).
    void CloseC1Click(ui::Object* Sender);
    void Button1Click(ui::Object* Sender);
    void CopyC1Click(ui::Object* Sender);
    void PasteP1Click(ui::Object* Sender);
    void H2Click(ui::Object* Sender);
    void V1Click(ui::Object* Sender);
    // Receive tick, port choice, reconnect (MainReceive.cpp).
    void Timer1Timer(ui::Object* Sender);
    void ComboBox1Change(ui::Object* Sender);
    void OpenO1Click(ui::Object* Sender);
    // Called by Clear once the text area is empty (MainReceive.cpp).
    void OnTextCleared();
    // What the text area reports: a full text area, dropped lines, a copy refused (MainNotices.cpp).
    void Memo1Event(ui::TextAreaEvent event);
    // Colour scheme and text size (MainLook.cpp).
    void RadioGroup1Click(ui::Object* Sender);
    void Button2Click(ui::Object* Sender);
    void Button3Click(ui::Object* Sender);
    void ApplyColourScheme();
    // Transcripts (MainTranscript.cpp).
    void SaveS1Click(ui::Object* Sender);
    void LoadL1Click(ui::Object* Sender);
    // Saves the text to a transcript as SaveS1Click does once the dialog has closed.
    void SaveTranscript(const std::wstring& path);
    // Loads a transcript as LoadL1Click does once the dialog has closed; false when cancelled.
    bool LoadTranscript(const std::wstring& path);
    // Find (MainFind.cpp). FindKeyDown takes Ctrl+F, F3 and Shift+F3 before any control sees them.
    void FindF1Click(ui::Object* Sender);
    void FindNext(const ui::FindOptions& options, bool down);
    void FindAgain(bool otherWay);
    bool FindKeyDown(const MSG& message);
    // The dialog's text and choices at the last Find Next; F3 searches for them again.
    std::optional<ui::FindOptions> lastFind;
    // Settings file (MainSettings.cpp).
    void LoadSettings();
    void SaveSettings();

    // The state the live view and the file commands share. Public so that tests can set up and
    // inspect a window without a device.
    std::int32_t LinkState = 0;
    std::int32_t PortNumber = 0;
    double ConnectTime = 0;
    unsigned char LeadByte = 0;
    unsigned char RecvBuf[2048] = {};
    std::string AppDir;  // the program's directory with a trailing backslash; any length

    // The link (MainLink.cpp): the only writers of the lamp, LinkState, the port and ConnectTime.
    // Opening applies the chosen colour scheme; false when the port could not be opened.
    bool OpenLink();
    enum class ConnectTimeOnClose { Keep, Clear };
    // Clear empties the connection time only when the link was up.
    void CloseLink(ConnectTimeOnClose connectTime);

    // receive path
    void DrainPort();
    // Adds the whole characters of the pending text to the text area; false when there were none.
    bool ShowPendingText();
    std::string TakePendingText();
    // Received text not yet in the text area: a first byte that waits for its partner, or text the
    // text area could not take at the last tick. Saving and loading treat it as the end of the
    // text area's text.
    std::string pendingText;
    // How long a tick may read, from what showing the bytes cost the ticks before.
    core::TickBudget receiveBudget;
    // A load is adding to the text area: received text waits behind it in pendingText.
    bool holdReceivedText = false;
    // end of receive path

    // Long file work (MainFileWork.cpp): runs `work` with the window busy (input held, Esc cancels,
    // progress shown when it takes long); a close asked for meanwhile comes once it has ended.
    void RunFileWork(std::uint64_t totalBytes, const std::function<void(ui::WorkProgress&)>& work);
    ui::WorkProgress* fileWork = nullptr;

    // colour scheme and text size
    // The strip's and the text area's font sizes in points and the strip's and top bar's sizes in
    // pixels, as the steps or the settings left them: the steps go on from here and the strip's
    // size is what the settings file keeps.
    core::TextSizes textSizes;
    // Takes the sizes and resizes the strip, the top bar (the text area takes the rest) and both fonts.
    void ApplyTextSizes(const core::TextSizes& sizes);
    // end of colour scheme and text size

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CentreOnDesktop();
    void FilesDropped(HDROP drop);
    bool closeHeld_ = false;
    void WireFind();
    // The Find dialog's notification; false for any other message.
    bool FindDialogMessage(UINT message, LPARAM lParam);
    void ShowNotFound();
};

// The one serial port, constructed before WinMain runs and destroyed after it returns.
extern Sci SciPort;
extern TMainForm* MainForm;
