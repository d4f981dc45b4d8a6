#include "window.h"

#include <windows.h>

namespace platform {

void bringWindowToFront(std::uintptr_t nativeHandle)
{
    HWND hwnd = reinterpret_cast<HWND>(nativeHandle);
    if (!hwnd)
        return;
    const UINT flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

} // namespace platform
