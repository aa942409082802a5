#pragma once

#include <cstdint>

namespace quorvane {

// Windows only: hands the window to the system's own move loop, as a press
// on its caption bar would, and returns when the button is released.
bool Win32CaptionDrag(std::uintptr_t windowHandle);

} // namespace quorvane
