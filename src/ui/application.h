// The application object: its title, the message loop, the standard error box and the plain
// message box. One per process, reached through App().
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

namespace ui {

class Form;

class Application {
public:
    static Application& Instance();

    // Registers the common control classes the toolkit uses. Safe to call more than once.
    void Initialize();

    // The caption of the error and message boxes; until set, DefaultTitle of the program file.
    const std::string& Title() const noexcept { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Shows the main form as the program was started (normal, minimised, maximised) and
    // dispatches messages until it has closed.
    void Run(Form& mainForm, int showCommand = SW_SHOW);
    Form* MainForm() const noexcept { return mainForm_; }

    // The standard error box: the message of a ui::Exception (nothing for any other exception)
    // with a full stop as ErrorBoxText adds it, the title as caption, a stop icon and OK.
    void ShowException(const std::exception_ptr& error) noexcept;
    // The plain message box: modal, no icon, one OK, the title as caption, centred on the screen.
    void ShowMessage(std::string_view text);

    // The program file's name (Shift_JIS) up to its first full stop, every letter after the first in
    // lower case.
    static std::string DefaultTitle(std::string_view modulePath);

private:
    Application();

    std::string title_;
    Form* mainForm_ = nullptr;
};

inline Application& App() { return Application::Instance(); }

}  // namespace ui
