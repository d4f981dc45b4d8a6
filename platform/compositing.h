#pragma once

#include <string>

namespace platform {

// Whether the desktop composes translucent windows, so that the half-transparent pixels
// around a window's opaque shape (a drop shadow) blend with what lies below. Without it an
// X server shows those pixels as black, and a window must be cut to its opaque shape.
// X11: a compositing manager owns the selection _NET_WM_CM_S<screen> of the display
// (empty = $DISPLAY); false when the display cannot be reached. Windows: always true.
bool desktopComposesTranslucentWindows(const std::string &display = {});

} // namespace platform
