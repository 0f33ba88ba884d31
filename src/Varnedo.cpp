// The entry point: lets one copy of the program run, creates its three windows and runs the
// message loop until the main window closes. Every path ends with exit code 0.
#include "Help.h"
#include "error_messages.h"
#include "Main.h"
#include "Version.h"

#include "ui/application.h"
#include "ui/system_library.h"
#include "ui/unique_handle.h"

#include <memory>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    // Before anything loads a DLL: the program's folder may hold files its user put there.
    ui::RestrictDllSearchToSystemFolder();
    // Creating the mutex and learning that it existed are one step, so two copies started at the
    // same moment cannot both pass. Nobody owns it: only its existence tells that a copy runs.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "Ravix");
    const bool anotherCopyRuns = GetLastError() == ERROR_ALREADY_EXISTS;
    ui::UniqueKernelHandle instanceGuard(mutex);
    if (anotherCopyRuns) {
        instanceGuard.reset();
        // The title is still the program file's name here.
        ui::App().ShowMessage("既に起動しております");
        return 0;
    }

    // The windows live until WinMain returns, after the mutex has been released and closed.
    std::unique_ptr<TMainForm> mainForm;
    std::unique_ptr<TVerForm> verForm;
    std::unique_ptr<THelpForm> helpForm;
    try {
        ui::App().SetErrorBoxTexts(ProgramErrorBoxTexts());
        ui::App().Initialize();
        ui::App().SetTitle("Varnedo");
        mainForm = std::make_unique<TMainForm>(nullptr);
        MainForm = mainForm.get();
        verForm = std::make_unique<TVerForm>(mainForm.get());
        VerForm = verForm.get();
        helpForm = std::make_unique<THelpForm>(mainForm.get());
        HelpForm = helpForm.get();
        ui::App().SetKeyFilter([form = mainForm.get()](const MSG& message) { return form->FindKeyDown(message); });
        // A shortcut set to start minimised is honoured: the window then shows at the restore.
        ui::App().Run(*mainForm, showCommand);
    } catch (...) {
        ui::App().ShowException(std::current_exception());
    }

    if (instanceGuard) ReleaseMutex(instanceGuard.get());
    instanceGuard.reset();
    return 0;
}
