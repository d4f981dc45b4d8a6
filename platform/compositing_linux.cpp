#include "compositing.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace platform {

namespace {

// libxcb is loaded at run time: the launcher also runs where no X library is installed
// (Wayland, headless tests), and then simply has no X11 compositor to ask.
struct Xcb
{
    decltype(&xcb_connect) connect = nullptr;
    decltype(&xcb_connection_has_error) hasError = nullptr;
    decltype(&xcb_disconnect) disconnect = nullptr;
    decltype(&xcb_intern_atom) internAtom = nullptr;
    decltype(&xcb_intern_atom_reply) internAtomReply = nullptr;
    decltype(&xcb_get_selection_owner) selectionOwner = nullptr;
    decltype(&xcb_get_selection_owner_reply) selectionOwnerReply = nullptr;

    bool load()
    {
        void *lib = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!lib)
            return false;
        connect = reinterpret_cast<decltype(connect)>(dlsym(lib, "xcb_connect"));
        hasError = reinterpret_cast<decltype(hasError)>(dlsym(lib, "xcb_connection_has_error"));
        disconnect = reinterpret_cast<decltype(disconnect)>(dlsym(lib, "xcb_disconnect"));
        internAtom = reinterpret_cast<decltype(internAtom)>(dlsym(lib, "xcb_intern_atom"));
        internAtomReply =
            reinterpret_cast<decltype(internAtomReply)>(dlsym(lib, "xcb_intern_atom_reply"));
        selectionOwner =
            reinterpret_cast<decltype(selectionOwner)>(dlsym(lib, "xcb_get_selection_owner"));
        selectionOwnerReply = reinterpret_cast<decltype(selectionOwnerReply)>(
            dlsym(lib, "xcb_get_selection_owner_reply"));
        return connect && hasError && disconnect && internAtom && internAtomReply &&
               selectionOwner && selectionOwnerReply;
    }
};

} // namespace

bool desktopComposesTranslucentWindows(const std::string &display)
{
    const char *name = display.empty() ? std::getenv("DISPLAY") : display.c_str();
    if (!name || !*name)
        return false;
    static Xcb xcb;
    static const bool loaded = xcb.load();
    if (!loaded)
        return false;

    int screen = 0;
    xcb_connection_t *connection = xcb.connect(name, &screen);
    if (!connection)
        return false;
    bool composed = false;
    if (!xcb.hasError(connection)) {
        const std::string atomName = "_NET_WM_CM_S" + std::to_string(screen);
        xcb_intern_atom_reply_t *atom = xcb.internAtomReply(
            connection,
            xcb.internAtom(connection, 0, static_cast<uint16_t>(atomName.size()), atomName.c_str()),
            nullptr);
        if (atom) {
            xcb_get_selection_owner_reply_t *owner = xcb.selectionOwnerReply(
                connection, xcb.selectionOwner(connection, atom->atom), nullptr);
            composed = owner && owner->owner != XCB_NONE;
            std::free(owner);
            std::free(atom);
        }
    }
    xcb.disconnect(connection);
    return composed;
}

} // namespace platform
