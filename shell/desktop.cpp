// Reads the desktop's video mode, after making sure that an X display can be reached.
#include "shell/globals.hpp"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

// SFML aborts the process when it can't open the display, so probe it first and leave
// with a clear message instead.
void requireDisplay() {
    static bool checked = false;
    if (checked) {
        return;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr,
                     "twinrun: cannot open the X display \"%s\"; run the game in a "
                     "graphical session\n",
                     name != nullptr ? name : "");
        std::fflush(stderr);
        std::exit(1);
    }
    XCloseDisplay(display);
    checked = true;
}

} // namespace

sf::VideoMode desktopMode() {
    requireDisplay();
    return sf::VideoMode::getDesktopMode();
}
