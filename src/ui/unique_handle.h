// Move-only ownership of one Win32 handle or GDI object. Each kind names its "none" value and how it
// is released in a small traits struct, so no form ever calls CloseHandle or DeleteObject itself.
#pragma once

#include <windows.h>

#include <utility>

namespace ui {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::None(); }

    // Gives up ownership without releasing: for handles that Windows has already destroyed.
    Handle release() noexcept { return std::exchange(handle_, Traits::None()); }

    void reset(Handle handle = Traits::None()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::None()) Traits::Release(old);
    }

private:
    Handle handle_ = Traits::None();
};

struct WindowTraits {
    using Handle = HWND;
    static HWND None() noexcept { return nullptr; }
    static void Release(HWND h) noexcept { DestroyWindow(h); }
};

template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static GdiHandle None() noexcept { return nullptr; }
    static void Release(GdiHandle h) noexcept { DeleteObject(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static HMENU None() noexcept { return nullptr; }
    static void Release(HMENU h) noexcept { DestroyMenu(h); }
};

// Kernel objects whose failure value is NULL (mutexes, events, threads).
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE None() noexcept { return nullptr; }
    static void Release(HANDLE h) noexcept { CloseHandle(h); }
};

// Files, whose failure value is INVALID_HANDLE_VALUE rather than NULL.
struct FileHandleTraits {
    using Handle = HANDLE;
    static HANDLE None() noexcept { return INVALID_HANDLE_VALUE; }
    static void Release(HANDLE h) noexcept { CloseHandle(h); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;

}  // namespace ui
