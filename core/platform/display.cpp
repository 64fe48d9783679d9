// The probe of the X display, which runs before any other global is built (after the entry
// point's answer to a command line that needs no display): without a usable display the game
// leaves with one clear line instead of SFML's abort.
#include "core/system.hpp"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The probe's connection, kept open while the game runs: an X server that loses its last
// client resets itself and refuses connections meanwhile, which would make the library's
// own connection fail on a server that nothing else uses.
Display* probe = nullptr;

// Writes one line about the display to stderr and ends the process with status 1.
[[noreturn]] void leaveWithout(const char* what) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        std::fputs("twinrun: no X display to open (DISPLAY is not set); run the game in a "
                   "graphical session\n",
                   stderr);
    } else {
        std::fprintf(stderr, "twinrun: %s \"%s\"\n", what, name);
    }
    std::fflush(stderr);
    std::exit(1);
}

// True when the display offers an OpenGL visual with colour and double buffering, which
// every window of the game needs.
bool hasOpenGl(Display* display) {
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display, "GLX", &opcode, &firstEvent, &firstError)) {
        return false;
    }
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (visual == nullptr) {
        return false;
    }
    XFree(visual);
    return true;
}

// glibc hands the program's initializers its arguments. This one runs before all others: before
// the probe below and the globals that open the display (the window, the textures, the
// desktop's size), so that --help and --version work without one, over SSH say.
__attribute__((constructor(101))) void answerBeforeTheDisplay(int argc, char** argv, char**) {
    answerWithoutDisplay(argc, argv);
}

// SFML aborts or crashes as soon as anything needs the display and it can't be opened or
// has no OpenGL, which happens while the windows, textures and fonts of the globals are
// constructed. So the display is probed before every other global is built (just after the
// look at the command line above), and without a usable one the game leaves with a clear
// message instead.
__attribute__((constructor(102))) void requireDisplay() {
    probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        leaveWithout("cannot open the X display");
    }
    if (!hasOpenGl(probe)) {
        leaveWithout("no OpenGL (GLX) on the X display");
    }
}

__attribute__((destructor(101))) void releaseDisplay() {
    if (probe != nullptr) {
        XCloseDisplay(probe);
        probe = nullptr;
    }
}

} // namespace
