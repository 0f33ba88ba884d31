// The message loop's work done from inside a long piece of work, so that the window goes on
// painting and its timers go on firing while the work holds the thread.
#pragma once

#include <windows.h>

#include <functional>

namespace ui {

// Whether the windows waiting to be painted are painted now or left for a later call.
enum class Paints { Run, Wait };

// Handles every message that waits now, as the message loop does, except the user's input to
// `held` and its children (keys, mouse buttons and moves, on its frame too), which is dropped, as a
// modal window's owner gets none; `heldKey` learns of every key pressed there. False when the
// program was asked to quit: the request is left for the message loop.
bool RunWaitingMessages(HWND held, const std::function<void(WPARAM key)>& heldKey, Paints paints = Paints::Run);

}  // namespace ui
