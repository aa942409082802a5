#pragma once

#include <cstdint>
#include <optional>
#include <utility>

namespace quorvane {

// Windows only, and free of Qt.

// Where in the window's client area (in pixels) a left-button press was, if
// the message (a Windows MSG) is one for that window.
std::optional<std::pair<int, int>> Win32LeftPressAt(const void* message, std::uintptr_t windowHandle);

// Hands the window to the system's own move loop, as a press on its caption
// bar would, and returns when the button is released. The move starts from
// where the message being handled was (GetMessagePos), so call it while the
// press itself is handled. The system's move follows the left button: with
// the left button up (a drag with another button) it returns false at once
// and the caller follows the mouse itself; with the release already queued
// (a click) it returns true at once, with nothing to move.
bool Win32CaptionDrag(std::uintptr_t windowHandle);

} // namespace quorvane
