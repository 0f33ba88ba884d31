#include "ui/control.h"

#include "ui/guarded_call.h"
#include "ui/text_conversion.h"
#include "ui/window_class.h"
#include "ui/window_registry.h"

namespace ui {
namespace {

int NextControlId() {
    static int nextId = 1000;
    return nextId++;
}

}  // namespace

Control::Control(Window& parent, CreateParams params) : Window(&parent, params.align) {
    if (params.font) SetFont(std::move(*params.font));
    // A painted control asks for its own repaint when its size changes. The class does not: with
    // CS_HREDRAW or CS_VREDRAW a panel whose width changed would repaint every control inside it
    // too, the whole top bar at each step of a resize, though none of them moved.
    RegisterWindowClass({.name = kPaintedControlClass});
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
    // Subclassed by the window procedure itself rather than comctl32's subclass chain, which reads
    // window properties for every message.
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::SubclassProc)));
    window_registry::SetPreviousProc(Handle(), previousProc_);
    ApplyFont();
    if (params.align != Align::None) parent.RealignChildren();
}

Control::~Control() {
    if (!Handle()) return;
    // Unless another procedure was put in front of it since, the window gets its own back and no
    // longer passes through the subclass; otherwise the subclass hands its messages on until the
    // window is gone.
    if (GetWindowLongPtrW(Handle(), GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Control::SubclassProc)) return;
    SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    window_registry::Forget(Handle());
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
    return CallWindowProcW(previousProc_, Handle(), message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const RegisteredWindow registered = window_registry::Find(handle);
    // Only controls are subclassed with this procedure, so a window without a procedure to hand on
    // to cannot come here; DefWindowProcW keeps it alive should it ever.
    if (!registered.previousProc) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        if (auto* control = static_cast<Control*>(registered.object)) control->Detach();
        window_registry::Forget(handle);
        return CallWindowProcW(registered.previousProc, handle, message, wParam, lParam);
    }
    auto* control = static_cast<Control*>(registered.object);
    if (!control) return CallWindowProcW(registered.previousProc, handle, message, wParam, lParam);
    return GuardedCall([&] { return control->HandleMessage(message, wParam, lParam); }, LRESULT{0});
}

}  // namespace ui
