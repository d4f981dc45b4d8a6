#include "window.h"

#include <QGuiApplication>
#include <QWindow>

namespace platform {

void bringWindowToFront(std::uintptr_t nativeHandle)
{
    // X11 has no "topmost then not topmost" trick; asking the window manager to raise and
    // activate is the equivalent, and it also brings back a window hidden to the tray.
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->handle() && window->winId() == nativeHandle) {
            window->show();
            window->raise();
            window->requestActivate();
            return;
        }
    }
}

} // namespace platform
