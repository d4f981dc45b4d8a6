#pragma once

#include <cstdint>

namespace platform {

// Brings a top-level window to the front without leaving it on top of everything else.
// The handle is the window's native id (QWindow::winId).
void bringWindowToFront(std::uintptr_t nativeHandle);

} // namespace platform
