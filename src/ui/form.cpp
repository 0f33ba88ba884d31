#include "ui/form.h"

#include "core/dpi_scale.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/exception.h"
#include "ui/guarded_call.h"
#include "ui/main_menu.h"
#include "ui/message_params.h"
#include "ui/text_conversion.h"
#include "ui/window_class.h"

#include <algorithm>
#include <utility>

namespace ui {
namespace {

constexpr const char* kFormClass = "UiForm";

void RunShowHandler(Form& form) {
    // A failing show handler is reported and the window still appears, as after any handler.
    if (!form.OnShow) return;
    try {
        form.OnShow(&form);
    } catch (...) {
        ShowCurrentException();
    }
}

}  // namespace

Form::Form(const FormArgs& args)
    : Window(nullptr, Align::None), owner_(args.owner), centreOnOwnerAtFirstShow_(args.centreOnOwnerAtFirstShow) {
    RegisterWindowClass({.name = kFormClass,
                         .procedure = &Form::Proc,
                         .style = CS_DBLCLKS,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    const DWORD style = args.style | WS_CLIPCHILDREN;
    // The window procedure attaches the handle at WM_NCCREATE, so messages sent during creation
    // already find the object.
    CreateWindowExW(0, ToWide(kFormClass).c_str(), ToWide(args.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    args.width, args.height, owner_ ? owner_->Handle() : nullptr, nullptr, GetModuleHandleW(nullptr),
                    this);
    if (!Handle()) throw Exception("The window \"" + args.caption + "\" cannot be created");
    // The DPI is that of the monitor the window opened on, known once it exists.
    SetDpi(WindowDpi(Handle()));
    SetFont(args.font);
    RECT outer{0, 0, Scaled(args.width), Scaled(args.height)};
    if (args.clientSize) AdjustOuterRect(outer, style, 0, Dpi());
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (args.iconResource) {
        HICON icon = LoadIconA(GetModuleHandleA(nullptr), args.iconResource);
        if (icon) SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
}

Form::~Form() {
    // The controls of a derived form are gone by now; messages of the closing window stop here.
    StopMessages();
}

LRESULT CALLBACK Form::Proc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* form = MessageParams{wParam, lParam}.CreatedFor<Form>();
        GuardedCall(
            [&] {
                form->Attach(handle);
                return 0;
            },
            0);
    }
    // Only forms are made with this procedure.
    auto* form = static_cast<Form*>(FromHandle(handle));
    if (!form) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        form->Detach();
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    return GuardedCall([&] { return form->HandleMessage(message, wParam, lParam); }, LRESULT{0});
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageParams params{wParam, lParam};
    switch (message) {
    case WM_COMMAND:
        if (!params.FromControl()) {
            // A menu command (code 0) or an accelerator (code 1): the id names the menu item.
            if (menu_ && params.CommandCode() <= 1 && menu_->Dispatch(params.CommandId())) return 0;
            break;
        }
        [[fallthrough]];
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        LRESULT result = 0;
        if (ReflectToChild(message, wParam, lParam, result)) return result;
        break;
    }
    case WM_INITMENUPOPUP:
        if (menu_) menu_->UpdateEnabled();
        break;
    case WM_QUERYOPEN: return QueryOpen() ? TRUE : FALSE;
    case WM_SIZE:
        // A minimised window keeps its children's sizes: laying them out for no client area would
        // only cost work (a long text wrapped at no width) and be undone at the restore.
        if (!params.SizeMinimised()) RealignChildren();
        return 0;
    case WM_DPICHANGED: MovedToDpi(params.NewDpi(), params.ProposedRect()); return 0;
    case WM_SETCURSOR:
        // Every control asks its form first, so this covers the whole window.
        if (App().Busy()) {
            SetCursor(LoadCursorA(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_CLOSE: OnClose(); return 0;
    case WM_QUERYENDSESSION: return QueryClose() ? TRUE : FALSE;
    case WM_ACTIVATE:
        if (params.Deactivated()) {
            RememberFocus();
        } else if (!params.ActivatedMinimised()) {
            RestoreFocus();
        }
        return 0;
    case WM_DESTROY:
        // The menu belongs to its MainMenu object, which destroys it itself.
        if (menu_) SetMenu(Handle(), nullptr);
        if (App().MainForm() == this) PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

void Form::MovedToDpi(int dpi, const RECT& proposed) {
    // Moved to a monitor of another DPI: everything is laid out again there, and the window takes
    // the place and size the system proposes for it.
    ChangeDpi(dpi);
    SetWindowPos(Handle(), nullptr, proposed.left, proposed.top, proposed.right - proposed.left,
                 proposed.bottom - proposed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RealignChildren();
}

bool Form::QueryOpen() {
    // A window started minimised shows for the first time now, after its show handler. The system
    // took the place to restore to before asking, so the window restores itself to the one the
    // handler gave it, and the system's restore is declined.
    if (!std::exchange(showWhenRestored_, false)) return true;
    RunShowHandler(*this);
    PlaceBeforeShowing();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(Handle(), &placement)) return true;
    placement.showCmd = SW_RESTORE;
    SetWindowPlacement(Handle(), &placement);
    return false;
}

bool Form::QueryClose() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void Form::OnClose() {
    if (!QueryClose()) return;
    if (modal_) {
        modalEnded_ = true;
        // Wakes the modal loop when the request came as a message sent from another thread.
        PostMessageA(Handle(), WM_NULL, 0, 0);
    } else if (App().MainForm() == this) {
        DestroyWindow(Handle());
    } else {
        Hide();
    }
}

void Form::Show(int showCommand) {
    const bool minimised = showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED ||
                           showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_FORCEMINIMIZE;
    if (!Visible()) {
        if (minimised) {
            showWhenRestored_ = true;
        } else {
            RunShowHandler(*this);
            PlaceBeforeShowing();
        }
    }
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
}

void Form::ShowModal() {
    if (Visible() || modal_) return;
    RunShowHandler(*this);
    PlaceBeforeShowing();

    HWND ownerHandle = owner_ ? owner_->Handle() : nullptr;
    const bool ownerWasEnabled = ownerHandle && IsWindowEnabled(ownerHandle);
    if (ownerWasEnabled) EnableWindow(ownerHandle, FALSE);
    ShowWindow(Handle(), SW_SHOW);

    modal_ = true;
    modalEnded_ = false;
    MSG message{};
    bool quit = false;
    while (!modalEnded_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got < 0) break;
        if (IsDialogMessageW(Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    modal_ = false;

    // The owner is enabled before this window hides, so that it, not some other program, becomes
    // the active window again.
    if (ownerWasEnabled) EnableWindow(ownerHandle, TRUE);
    if (ownerHandle) SetActiveWindow(ownerHandle);
    Hide();
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

void Form::Close() { SendMessageA(Handle(), WM_CLOSE, 0, 0); }

void Form::Hide() { ShowWindow(Handle(), SW_HIDE); }

template <typename Change>
void Form::ChangeRestoredRect(Change change) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(Handle(), &placement)) return;
    change(placement.rcNormalPosition);
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(Handle(), &placement);
}

void Form::MoveTo(int left, int top) {
    if (IsIconic(Handle())) {
        ChangeRestoredRect([&](RECT& rect) { OffsetRect(&rect, left - rect.left, top - rect.top); });
        return;
    }
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Form::OuterSize() const {
    RECT bounds{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(Handle()) && GetWindowPlacement(Handle(), &placement)) {
        bounds = placement.rcNormalPosition;
    } else {
        GetWindowRect(Handle(), &bounds);
    }
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

SIZE Form::OuterLayoutSize() const {
    const SIZE outer = OuterSize();
    return {core::ScaleFromDpi(outer.cx, Dpi()), core::ScaleFromDpi(outer.cy, Dpi())};
}

void Form::SetOuterLayoutSize(int width, int height) {
    if (IsIconic(Handle())) {
        ChangeRestoredRect([&](RECT& rect) {
            rect.right = rect.left + Scaled(width);
            rect.bottom = rect.top + Scaled(height);
        });
        return;
    }
    SetWindowPos(Handle(), nullptr, 0, 0, Scaled(width), Scaled(height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::PlaceBeforeShowing() {
    // Hidden windows keep their place, so later showings open where the window was last.
    if (centreOnOwnerAtFirstShow_ && !shownBefore_ && owner_) {
        const RECT ownerRect = owner_->Bounds();
        MoveTo(ownerRect.left + (ownerRect.right - ownerRect.left - Width()) / 2,
               ownerRect.top + (ownerRect.bottom - ownerRect.top - Height()) / 2);
    }
    shownBefore_ = true;
}

void Form::RememberFocus() noexcept {
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) focusedControl_ = focus;
}

void Form::RestoreFocus() noexcept {
    if (focusedControl_ && IsWindow(focusedControl_) && IsChild(Handle(), focusedControl_)) {
        SetFocus(focusedControl_);
    } else if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) {
        SetFocus(first);
    } else {
        SetFocus(Handle());
    }
}

}  // namespace ui
