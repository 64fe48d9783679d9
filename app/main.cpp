// Entry point: answers --help, --version and a refused option before the display is opened,
// then sets the scale, finds the folder with src/, prepares the lobby, opens the full-screen
// window and its sound, and runs the lobby loop.
#include "app/lobbyloop.hpp"
#include "app/options.hpp"
#include "core/assets.hpp"
#include "core/globals.hpp"
#include "core/phones/phones.hpp"
#include "core/phones/phoneserver.hpp"
#include "core/platform.hpp"
#include "core/platform/window.hpp"
#include "core/scale.hpp"
#include "core/system.hpp"
#include "roster/phonecard.hpp"
#include "roster/roster.hpp"

#include <SFML/System/Err.hpp>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// Starts the phone server on port and says where phones join; without it the game plays on.
void openToPhones(unsigned short port) {
    const std::string code = makeSessionCode();
    std::string error;
    if (!startPhoneServer(port, code, error)) {
        std::cerr << "twinrun: no phones: " << error << std::endl;
        return;
    }
    // The server's thread ends before the globals it shares are destroyed, even on exit().
    std::atexit(stopPhoneServer);
    const std::string address =
        "http://" + networkAddress() + ":" + std::to_string(port) + "/#" + code;
    std::cout << "twinrun: phones join at " << address << std::endl;
    preparePhoneCard(address);
}

} // namespace

// Ends the process when the command line needs no display: the usage for --help, the name and
// version for --version (status 0), the reason and the usage for an option refused without
// looking at the desktop (status 2). Returns otherwise. It writes with C's streams, which are
// ready before any of the program's initializers runs.
void answerWithoutDisplay(int argc, char** argv) {
    const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc), 0, 0);
    if (!options.error.empty()) {
        std::fprintf(stderr, "twinrun: %s\n%s", options.error.c_str(), usage);
        std::exit(2);
    }
    if (options.help || options.version) {
        std::fputs(options.help ? usage : "twinrun " TWINRUN_VERSION "\n", stdout);
        std::exit(0);
    }
}

int main(int argc, char** argv) {
    answerWithoutDisplay(argc, argv);
    // What is left to refuse is a scale too large for the desktop.
    const Options options =
        parseOptions(std::vector<std::string>(argv + 1, argv + argc), desktopWidth, desktopHeight);
    if (!options.error.empty()) {
        std::cerr << "twinrun: " << options.error << "\n" << usage;
        return 2;
    }
    soundMuted = options.mute;
    musicOff = options.noMusic;
    useScale(options.scale);
    // The game writes its own diagnostics; the library's would only repeat them.
    sf::err().rdbuf(nullptr);
    prepareSystem();
    enterAssetFolder();
    setupLobby();
    if (!openGameWindow()) {
        std::cerr << "twinrun: could not open a " << desktopWidth << "x" << desktopHeight
                  << " full-screen window" << std::endl;
        return 1;
    }
    if (!soundMuted) {
        openAudio();
    }
    if (options.phones) {
        openToPhones(options.phonesPort);
    }
    // Every screen, the lobby and the joins included, shows at most 60 frames a second.
    limitFrames(60);
    runLobby();
    return 0;
}
