#include "ui/window.h"

#include "core/dpi_scale.h"
#include "ui/exception.h"
#include "ui/message_params.h"
#include "ui/text_conversion.h"
#include "ui/window_registry.h"

#include <algorithm>

namespace ui {
namespace {

BOOL CALLBACK CollectToolkitWindow(HWND child, LPARAM list) {
    if (Window* window = Window::FromHandle(child)) reinterpret_cast<std::vector<Window*>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

Window::Window(Window* parent, Align align)
    : parent_(parent), align_(align), dpi_(parent ? parent->Dpi() : core::kLayoutDpi) {
    if (parent_ && align_ != Align::None) parent_->alignedChildren_.push_back(this);
}

Window::~Window() {
    if (parent_ && align_ != Align::None) std::erase(parent_->alignedChildren_, this);
    DestroyHandle();
}

void Window::DestroyHandle() noexcept {
    if (!handle_) return;
    StopMessages();
    handle_.reset();
}

Window* Window::FromHandle(HWND handle) noexcept { return handle ? window_registry::Find(handle).object : nullptr; }

void Window::Attach(HWND handle) {
    if (!handle) throw Exception("A window cannot be created");
    handle_.reset(handle);
    window_registry::Link(handle, this);
}

void Window::Detach() noexcept {
    if (!handle_) return;
    StopMessages();
    handle_.release();
}

void Window::StopMessages() noexcept {
    if (handle_) window_registry::Unlink(handle_.get());
}

RECT Window::Bounds() const {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    if (HWND parent = GetParent(Handle()); parent && (GetWindowLongA(Handle(), GWL_STYLE) & WS_CHILD)) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

int Window::Width() const {
    const RECT r = Bounds();
    return r.right - r.left;
}

int Window::Height() const {
    const RECT r = Bounds();
    return r.bottom - r.top;
}

SIZE Window::ClientSize() const {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    return {rect.right, rect.bottom};
}

void Window::MoveWithoutRealign(int left, int top, int width, int height) {
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Window::Scaled(int layoutPixels) const { return core::ScaleToDpi(layoutPixels, dpi_); }

void Window::SetPixelBounds(int left, int top, int width, int height) {
    if (!parent_ || align_ == Align::None) {
        MoveWithoutRealign(left, top, width, height);
        return;
    }
    // An aligned child keeps the place and width its parent gave it and takes only its new height,
    // which moves its siblings. Moved to its layout bounds first (no width at all, for a bar across
    // the top), it would have everything inside it drawn again.
    const RECT now = Bounds();
    MoveIfMoved(now.left, now.top, now.right - now.left, height);
    parent_->RealignChildren();
}

void Window::SetBounds(int left, int top, int width, int height) {
    layoutBounds_ = {left, top, width, height};
    SetPixelBounds(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
}

void Window::SetWidth(int width) {
    const Rect& r = layoutBounds_;
    SetBounds(r.left, r.top, width, r.height);
}

void Window::SetHeight(int height) {
    const Rect& r = layoutBounds_;
    SetBounds(r.left, r.top, r.width, height);
}

void Window::ChangeDpi(int dpi) {
    // This window and every toolkit window inside it, parents before their children.
    std::vector<Window*> windows{this};
    EnumChildWindows(Handle(), &CollectToolkitWindow, reinterpret_cast<LPARAM>(&windows));
    // Fonts first: a child without its own font takes its parent's.
    for (Window* window : windows) {
        window->dpi_ = dpi;
        window->MakeOwnFont();
    }
    for (Window* window : windows) {
        if (window == this) continue;
        window->ApplyFont();
        const Rect& r = window->layoutBounds_;
        window->MoveWithoutRealign(window->Scaled(r.left), window->Scaled(r.top), window->Scaled(r.width),
                                   window->Scaled(r.height));
    }
    for (Window* window : windows) window->OnDpiChanged();
    for (Window* window : windows) window->RealignChildren();
}

void Window::RealignChildren() {
    const SIZE client = ClientSize();
    int top = 0;
    int bottom = client.cy;
    for (Window* child : alignedChildren_) {
        const int height = child->Height();
        if (child->align_ == Align::Top) {
            child->MoveIfMoved(0, top, client.cx, height);
            top += height;
        } else if (child->align_ == Align::Bottom) {
            bottom -= height;
            child->MoveIfMoved(0, bottom, client.cx, height);
        }
    }
    for (Window* child : alignedChildren_) {
        if (child->align_ == Align::Client) child->MoveIfMoved(0, top, client.cx, std::max(0, bottom - top));
    }
}

void Window::MoveIfMoved(int left, int top, int width, int height) {
    // A child that keeps its place is left alone: its frame is not drawn again for nothing, and
    // under Wine each move takes several round trips to the server.
    const RECT now = Bounds();
    if (now.left == left && now.top == top && now.right - now.left == width && now.bottom - now.top == height) return;
    MoveWithoutRealign(left, top, width, height);
}

std::string Window::Text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
    return ToShiftJis(text);
}

void Window::SetText(std::string_view text) { SetWindowTextW(Handle(), ToWide(text).c_str()); }

const Font& Window::CurrentFont() const {
    if (ownFont_) return *ownFont_;
    if (!parent_) throw Exception("A window without a parent needs a font of its own");
    return parent_->CurrentFont();
}

void Window::SetFont(FontDescription description) {
    ownFontDescription_ = std::move(description);
    MakeOwnFont();
    ApplyFont();
}

void Window::MakeOwnFont() {
    if (ownFontDescription_) ownFont_.emplace(*ownFontDescription_, dpi_);
}

void Window::ApplyFont() {
    if (Handle()) SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont().Handle()), TRUE);
}

bool Window::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Window::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const MessageParams params{wParam, lParam};
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = params.ControlHandle(); break;
    case WM_NOTIFY: child = params.Notification().hwndFrom; break;
    case WM_DRAWITEM:
        if (params.DrawItem().CtlType != ODT_MENU) child = params.DrawItem().hwndItem;
        break;
    default: return false;
    }
    Window* target = FromHandle(child);
    return target && target->OnReflected(message, wParam, lParam, result);
}

}  // namespace ui
