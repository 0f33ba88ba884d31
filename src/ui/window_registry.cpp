#include "ui/window_registry.h"

#include <mutex>
#include <unordered_map>

namespace ui::window_registry {
namespace {

// Windows live on the threads that made them, and a dialog's thread may look up another's.
std::mutex& Guard() {
    static std::mutex guard;
    return guard;
}

std::unordered_map<HWND, RegisteredWindow>& Windows() {
    static std::unordered_map<HWND, RegisteredWindow> windows;
    return windows;
}

}  // namespace

void Link(HWND handle, Window* object) {
    const std::lock_guard lock(Guard());
    Windows()[handle].object = object;
}

void SetPreviousProc(HWND handle, WNDPROC procedure) {
    const std::lock_guard lock(Guard());
    Windows()[handle].previousProc = procedure;
}

void Unlink(HWND handle) noexcept {
    const std::lock_guard lock(Guard());
    const auto found = Windows().find(handle);
    if (found == Windows().end()) return;
    if (found->second.previousProc) {
        found->second.object = nullptr;
    } else {
        Windows().erase(found);
    }
}

void Forget(HWND handle) noexcept {
    const std::lock_guard lock(Guard());
    Windows().erase(handle);
}

RegisteredWindow Find(HWND handle) noexcept {
    const std::lock_guard lock(Guard());
    const auto found = Windows().find(handle);
    return found == Windows().end() ? RegisteredWindow{} : found->second;
}

}  // namespace ui::window_registry
