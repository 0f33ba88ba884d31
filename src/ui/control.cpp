#include "ui/control.h"

#include "ui/guarded_call.h"
#include "ui/text_conversion.h"
#include "ui/window_class.h"

namespace ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

int NextControlId() {
    static int nextId = 1000;
    return nextId++;
}

}  // namespace

Control::Control(Window& parent, CreateParams params) : Window(&parent, params.align) {
    if (params.font) SetFont(std::move(*params.font));
    RegisterWindowClass({.name = kPaintedControlClass, .style = CS_HREDRAW | CS_VREDRAW});
    const Rect& b = params.bounds;
    layoutBounds_ = b;
    // Created Unicode and subclassed by the Unicode functions, so the window never changes kind: a
    // system control whose procedure turned Unicode only later would convert its texts back through
    // the system's code page, and another program reading them could crash it.
    Attach(CreateWindowExW(params.exStyle, ToWide(params.className).c_str(), ToWide(params.text).c_str(),
                           WS_CHILD | WS_VISIBLE | params.style, Scaled(b.left), Scaled(b.top), Scaled(b.width),
                           Scaled(b.height), parent.Handle(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())), GetModuleHandleW(nullptr),
                           nullptr));
    SetWindowSubclass(Handle(), &Control::SubclassProc, kSubclassId, 0);
    ApplyFont();
    if (params.align != Align::None) parent.RealignChildren();
}

Control::~Control() {
    if (Handle()) RemoveWindowSubclass(Handle(), &Control::SubclassProc, kSubclassId);
}

void Control::PlaceTabAfter(const Control& previous) {
    SetWindowPos(Handle(), previous.Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result)) return result;
    return CallDefault(message, wParam, lParam);
}

LRESULT Control::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) noexcept {
    // Only controls are subclassed with this procedure.
    auto* control = static_cast<Control*>(FromHandle(handle));
    if (!control) return DefSubclassProc(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(handle, &Control::SubclassProc, kSubclassId);
        control->Detach();
        return DefSubclassProc(handle, message, wParam, lParam);
    }
    return GuardedCall([&] { return control->HandleMessage(message, wParam, lParam); }, LRESULT{0});
}

}  // namespace ui
