// End-to-end harness: Xvfb, the game process, xdotool and ImageMagick's import.
#include "e2e_harness.hpp"

#include <SFML/Graphics.hpp>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::string tempPath(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/twinrun-e2e-" +
           std::to_string(::getpid()) + "-" + name;
}

// Runs a command to its end with DISPLAY set, output discarded; true on status 0.
bool runOnDisplay(const std::string& display, std::vector<std::string> args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("DISPLAY", display.c_str(), 1);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool isDark(sf::Color c) {
    return c.r < 128 && c.g < 128 && c.b < 128;
}

} // namespace

XServer::XServer(unsigned int width, unsigned int height,
                 const std::vector<std::string>& extraArguments) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(fds[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<std::string> args = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                         "-screen",   "0",          screen,
                                         "-nolisten", "tcp"};
        args.insert(args.end(), extraArguments.begin(), extraArguments.end());
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    ::close(fds[0]);
    if (!number.empty()) {
        name_ = ":" + number;
        keeper_ = XOpenDisplay(name_.c_str());
    }
}

XServer::~XServer() {
    if (keeper_ != nullptr) {
        XCloseDisplay(static_cast<Display*>(keeper_));
    }
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

GameProcess::GameProcess(const std::string& display) {
    errorPath_ = tempPath("stderr-" + std::to_string(Clock::now().time_since_epoch().count()));
    pid_ = ::fork();
    if (pid_ == 0) {
        if (::chdir(TWINRUN_SOURCE_DIR) != 0) {
            ::_exit(126);
        }
        if (display.empty()) {
            ::unsetenv("DISPLAY");
        } else {
            ::setenv("DISPLAY", display.c_str(), 1);
        }
        const int err = ::open(errorPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, 2);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::execl(TWINRUN_EXECUTABLE, TWINRUN_EXECUTABLE, static_cast<char*>(nullptr));
        ::_exit(127);
    }
}

GameProcess::~GameProcess() {
    if (pid_ > 0 && !ended_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    std::remove(errorPath_.c_str());
}

int GameProcess::waitForExit(double timeoutSeconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!ended_ && Clock::now() < deadline) {
        running();
        if (!ended_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    if (!ended_ || !WIFEXITED(status_)) {
        return -1;
    }
    return WEXITSTATUS(status_);
}

bool GameProcess::running() {
    if (ended_ || pid_ <= 0) {
        return false;
    }
    if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
        ended_ = true;
    }
    return !ended_;
}

std::string GameProcess::errorOutput() const {
    std::ifstream in(errorPath_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool pressKeys(const std::string& display, const std::vector<std::string>& keys) {
    std::vector<std::string> args = {"xdotool", "key", "--delay", "150"};
    args.insert(args.end(), keys.begin(), keys.end());
    return runOnDisplay(display, args);
}

bool requestClose(const std::string& display) {
    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) {
        return false;
    }
    Window root = DefaultRootWindow(x);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    bool sent = false;
    if (XQueryTree(x, root, &root, &parent, &children, &count) != 0) {
        const Atom protocols = XInternAtom(x, "WM_PROTOCOLS", False);
        const Atom deleteWindow = XInternAtom(x, "WM_DELETE_WINDOW", False);
        for (unsigned int i = 0; i < count; ++i) {
            char* name = nullptr;
            if (XFetchName(x, children[i], &name) != 0 && name != nullptr) {
                if (std::string(name) == "Twinrun") {
                    XEvent message{};
                    message.xclient.type = ClientMessage;
                    message.xclient.window = children[i];
                    message.xclient.message_type = protocols;
                    message.xclient.format = 32;
                    message.xclient.data.l[0] = static_cast<long>(deleteWindow);
                    message.xclient.data.l[1] = CurrentTime;
                    sent = XSendEvent(x, children[i], False, NoEventMask, &message) != 0;
                }
                XFree(name);
            }
        }
        XFree(children);
    }
    XCloseDisplay(x);
    return sent;
}

sf::Image screenshot(const std::string& display) {
    const std::string path = tempPath("shot.png");
    sf::Image image;
    if (runOnDisplay(display, {"import", "-window", "root", path})) {
        image.loadFromFile(path);
    }
    std::remove(path.c_str());
    return image;
}

bool waitForScreen(const std::string& display, double timeoutSeconds,
                   const std::function<bool(const sf::Image&)>& test, sf::Image* last) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    sf::Image image;
    bool held = false;
    do {
        image = screenshot(display);
        held = image.getSize().x > 0 && test(image);
        if (!held) {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
    } while (!held && Clock::now() < deadline);
    if (last != nullptr) {
        *last = image;
    }
    return held;
}

sf::Image expectedCentredText(const std::string& text, unsigned int width, unsigned int height) {
    static sf::Font font;
    static bool loaded = font.loadFromFile(std::string(TWINRUN_SOURCE_DIR) + "/src/Pixellari.ttf");
    (void)loaded;
    sf::RenderTexture target;
    target.create(width, height);
    target.clear(sf::Color::White);
    sf::Text shown(text, font, 100);
    shown.setFillColor(sf::Color::Black);
    const sf::FloatRect bounds = shown.getLocalBounds();
    shown.setOrigin(bounds.left + 0.5f * bounds.width, bounds.top + 0.5f * bounds.height);
    shown.setPosition(0.5f * static_cast<float>(width), 0.5f * static_cast<float>(height));
    target.draw(shown);
    target.display();
    return target.getTexture().copyToImage();
}

double darkMismatch(const sf::Image& actual, const sf::Image& expected) {
    if (actual.getSize() != expected.getSize()) {
        return 1.0;
    }
    long dark = 0;
    long differ = 0;
    for (unsigned int y = 0; y < expected.getSize().y; ++y) {
        for (unsigned int x = 0; x < expected.getSize().x; ++x) {
            const bool want = isDark(expected.getPixel(x, y));
            dark += want ? 1 : 0;
            differ += want != isDark(actual.getPixel(x, y)) ? 1 : 0;
        }
    }
    return dark == 0 ? 1.0 : static_cast<double>(differ) / static_cast<double>(dark);
}
