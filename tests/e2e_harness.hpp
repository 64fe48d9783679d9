// End-to-end harness: a private X server of a chosen size, the real game started on it,
// real key presses through xdotool, and screenshots of the whole screen.
#pragma once

#include <SFML/Graphics/Image.hpp>

#include <functional>
#include <string>
#include <vector>

// An Xvfb server on a free display number, stopped when the object goes.
class XServer {
  public:
    // extraArguments are passed on to Xvfb, e.g. {"-extension", "GLX"}.
    XServer(unsigned int width, unsigned int height,
            const std::vector<std::string>& extraArguments = {});
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    bool running() const { return pid_ > 0 && !name_.empty(); }
    // The display name, for example ":5".
    const std::string& name() const { return name_; }

  private:
    int pid_ = -1;
    std::string name_;
    // A connection held for the server's life, so that it never resets between clients.
    void* keeper_ = nullptr;
};

// The real twinrun process, started from the repository root; killed if still running
// when the object goes.
class GameProcess {
  public:
    // display empty: started without DISPLAY in its environment.
    explicit GameProcess(const std::string& display);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;
    // Waits up to timeoutSeconds for the process to end; its exit status, or -1 if it
    // did not end normally in time.
    int waitForExit(double timeoutSeconds);
    bool running();
    // Everything the game wrote to stderr so far.
    std::string errorOutput() const;

  private:
    int pid_ = -1;
    int status_ = -1;
    bool ended_ = false;
    std::string errorPath_;
};

// Sends real key presses and releases (xdotool key names, e.g. "j", "Escape").
bool pressKeys(const std::string& display, const std::vector<std::string>& keys);
// Asks the window titled "Twinrun" to close, as a window manager's close button does.
bool requestClose(const std::string& display);
// A screenshot of the whole screen.
sf::Image screenshot(const std::string& display);
// Takes screenshots until the test holds, for up to timeoutSeconds; the last screenshot.
bool waitForScreen(const std::string& display, double timeoutSeconds,
                   const std::function<bool(const sf::Image&)>& test, sf::Image* last = nullptr);

// What a centred prompt or invitation of the game looks like on a screen of that size.
sf::Image expectedCentredText(const std::string& text, unsigned int width, unsigned int height);
// Share of the dark pixels of expected that differ from actual (dark versus light).
double darkMismatch(const sf::Image& actual, const sf::Image& expected);
