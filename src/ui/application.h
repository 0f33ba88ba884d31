// The application object: its title, the message loop, the standard error box and the plain
// message box. One per process, reached through App().
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Form;

// What the error box says for failures that carry no message of their own: the program's words,
// given at start-up, since the toolkit knows neither the program's language nor its exceptions.
struct ErrorBoxTexts {
    std::string outOfMemory{};    // std::bad_alloc (Shift_JIS, as every text)
    std::string internalError{};  // anything else the program does not word
    // The box made of fixed texts when there is no memory even for the box: UTF-16, made in advance.
    std::wstring outOfMemoryAlone{};
    // The user's message for one of the program's own failures; nullopt for a failure it does not know.
    std::function<std::optional<std::string>(const std::exception_ptr&)> describe{};
};

class Application {
public:
    static Application& Instance();

    // Registers the common control classes the toolkit uses. Safe to call more than once.
    void Initialize();

    // The caption of the error and message boxes; until set, DefaultTitle of the program file.
    const std::string& Title() const noexcept { return title_; }
    void SetTitle(std::string title);

    void SetErrorBoxTexts(ErrorBoxTexts texts) { errorTexts_ = std::move(texts); }

    // Shows the main form as the program was started (normal, minimised, maximised) and
    // dispatches messages until it has closed.
    void Run(Form& mainForm, int showCommand = SW_SHOW);
    Form* MainForm() const noexcept { return mainForm_; }
    // One message taken from the queue, handled as the message loop handles it.
    void Deliver(MSG& message);
    // A modeless dialog's keys (Tab, Enter, Esc) work only when the loop hands it its messages:
    // it is named here while it is open.
    void AddModelessDialog(HWND dialog);
    void RemoveModelessDialog(HWND dialog) noexcept;
    // Sees every key pressed before any window does, for shortcuts that work whichever control has
    // the focus; returns true when it took the key.
    void SetKeyFilter(std::function<bool(const MSG&)> filter) { keyFilter_ = std::move(filter); }
    // While busy, the pointer over the program's forms is the hourglass.
    void SetBusy(bool busy) noexcept;
    bool Busy() const noexcept { return busy_; }

    // The standard error box: the message of a ui::Exception, else the program's words for the
    // failure (see ErrorBoxTexts), with a full stop as ErrorBoxText adds it, the title as caption, a
    // stop icon and OK.
    void ShowException(const std::exception_ptr& error) noexcept;
    // The plain message box: modal, no icon, one OK, the title as caption, centred on the screen.
    void ShowMessage(std::string_view text);

    // The program file's name (Shift_JIS) up to its first full stop, every letter after the first in
    // lower case.
    static std::string DefaultTitle(std::string_view modulePath);

private:
    Application();
    std::string UserMessage(const std::exception_ptr& error) const;
    bool TakenByFilterOrDialog(const MSG& message);

    std::string title_;
    // The title for the box shown when no memory is left to convert it.
    std::wstring wideTitle_;
    ErrorBoxTexts errorTexts_;
    Form* mainForm_ = nullptr;
    std::vector<HWND> modelessDialogs_;
    std::function<bool(const MSG&)> keyFilter_;
    bool busy_ = false;
};

inline Application& App() { return Application::Instance(); }

}  // namespace ui
