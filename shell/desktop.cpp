// Reads the desktop's video mode, after making sure that an X display can be reached.
#include "shell/globals.hpp"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The probe's connection, kept open while the game runs: an X server that loses its last
// client resets itself and refuses connections meanwhile, which would make the library's
// own connection fail on a server that nothing else uses.
Display* probe = nullptr;

// SFML aborts the process as soon as anything needs the display and it can't be opened,
// which happens while the windows, textures and fonts of the globals are constructed.
// So the display is probed before every other global is built (the lowest priority a
// program may use), and without one the game leaves with a clear message instead.
__attribute__((constructor(101))) void requireDisplay() {
    probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == '\0') {
            std::fputs("twinrun: no X display to open (DISPLAY is not set); run the game in a "
                       "graphical session\n",
                       stderr);
        } else {
            std::fprintf(stderr, "twinrun: cannot open the X display \"%s\"\n", name);
        }
        std::fflush(stderr);
        std::exit(1);
    }
}

__attribute__((destructor(101))) void releaseDisplay() {
    if (probe != nullptr) {
        XCloseDisplay(probe);
        probe = nullptr;
    }
}

} // namespace

sf::VideoMode desktopMode() {
    return sf::VideoMode::getDesktopMode();
}
