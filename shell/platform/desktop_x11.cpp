// The X11 desktop (and Wayland through XWayland or natively).
#include <cstdio>
#include <string_view>

#include <SDL.h>

#include "shell/platform/desktop_system.h"

// Last: Xlib's macros (None, Bool, Status) must not meet the headers above.
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xresource.h>
#include <X11/extensions/shmproto.h>

namespace orval {
namespace {

// SDL 2.26 wakes its own event wait by sending a client message, over a second display
// connection, to the most recently created window. When a handler destroys that window at
// once (Unload, End), the server may get the message after the window is gone and answers
// BadWindow, which Xlib's default handler turns into exit(1) when SDL closes that connection.
// In a storm of resizes SDL may put a window's pixels (MIT-SHM's PutImage, an extension's
// request 3) at the size the window had a moment before, which the server refuses with
// BadValue; the next frame is put whole at the new size, so nothing is lost. Any other protocol
// error is reported and the game goes on, as it would have no way to end cleanly from inside
// Xlib.
int reportXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    constexpr int kFirstExtensionRequest = 128;
    if (error->error_code == BadValue && error->request_code >= kFirstExtensionRequest &&
        error->minor_code == X_ShmPutImage)
        return 0;
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "orval-kesk: X error: %s (request %d)\n", text, error->request_code);
    return 0;
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct DatabaseDestroyer {
    void operator()(XrmDatabase database) const { XrmDestroyDatabase(database); }
};

}  // namespace

// The error handler that was there before ours, put back when the game's video has gone.
struct DesktopSystem::State {
    XErrorHandler previous = nullptr;
};

DesktopSystem::DesktopSystem() : state_(std::make_unique<State>()) {
    // X11 places windows where we ask; native Wayland cannot. SDL_VIDEODRIVER still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    // Before SDL opens its displays: SDL keeps the handler it finds and puts it back before it
    // closes them, which is when such a late error is reported.
    state_->previous = XSetErrorHandler(reportXError);
}

DesktopSystem::~DesktopSystem() { XSetErrorHandler(state_->previous); }

std::optional<std::string> DesktopSystem::fontDpi() const {
    // SDL does not read it; it lies in the X resource database.
    if (std::string_view(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") != "x11")
        return std::nullopt;
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) return std::nullopt;
    const char* resources = XResourceManagerString(display.get());
    if (!resources) return std::nullopt;
    XrmInitialize();
    const std::unique_ptr<std::remove_pointer_t<XrmDatabase>, DatabaseDestroyer> database(
        XrmGetStringDatabase(resources));
    if (!database) return std::nullopt;
    char* type = nullptr;
    XrmValue value{};
    if (XrmGetResource(database.get(), "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
        return std::string(value.addr);
    return std::nullopt;
}

bool DesktopSystem::raisesFloatingWindows() const { return true; }

bool DesktopSystem::framesWindows() const { return true; }

bool DesktopSystem::coversScreenWhenFullscreen() const {
    // Native Wayland's compositor does it; on X it is the window manager, if one runs (a kiosk
    // started with xinit has none): one that runs names itself on the root window.
    if (std::string_view(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") != "x11")
        return true;
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) return true;
    const Atom check = XInternAtom(display.get(), "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* value = nullptr;
    const int status =
        XGetWindowProperty(display.get(), DefaultRootWindow(display.get()), check, 0, 1, False,
                           AnyPropertyType, &type, &format, &count, &left, &value);
    if (value) XFree(value);
    return status == Success && count > 0;
}

}  // namespace orval
