#include "ui/progress_bar.h"

#include "ui/application.h"

namespace ui {
namespace {

const char* RegisteredProgressClass() {
    App().Initialize();
    return PROGRESS_CLASSA;
}

}  // namespace

ProgressBar::ProgressBar(Window& parent, Rect bounds)
    : Control(parent, {.className = RegisteredProgressClass(), .bounds = bounds}) {
    SendMessageA(Handle(), PBM_SETRANGE32, 0, 1000);
}

void ProgressBar::SetPosition(int thousandths) { SendMessageA(Handle(), PBM_SETPOS, thousandths, 0); }

int ProgressBar::Position() const { return static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0)); }

}  // namespace ui
