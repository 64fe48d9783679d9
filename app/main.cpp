// Entry point: reads the options, finds the folder with src/, prepares the lobby, opens the
// full-screen window and its sound, and runs the lobby loop.
#include "app/lobbyloop.hpp"
#include "core/assets.hpp"
#include "core/globals.hpp"
#include "core/platform.hpp"
#include "core/system.hpp"
#include "core/window.hpp"
#include "roster/roster.hpp"

#include <SFML/System/Err.hpp>

#include <cstring>
#include <iostream>

namespace {

constexpr const char* usage = "Usage: twinrun [--mute]\n"
                              "  --mute  play without sound\n";

} // namespace

int main(int argc, char** argv) {
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "--mute") == 0) {
            soundMuted = true;
        } else if (std::strcmp(argv[a], "--help") == 0 || std::strcmp(argv[a], "-h") == 0) {
            std::cout << usage;
            return 0;
        } else {
            std::cerr << "twinrun: unknown option " << argv[a] << "\n" << usage;
            return 2;
        }
    }
    // The game writes its own diagnostics; the library's would only repeat them.
    sf::err().rdbuf(nullptr);
    prepareSystem();
    enterAssetFolder();
    setupLobby();
    if (!openGameWindow()) {
        std::cerr << "twinrun: could not open a " << screenWidth << "x" << screenHeight
                  << " full-screen window" << std::endl;
        return 1;
    }
    if (!soundMuted) {
        openAudio();
    }
    // Every screen, the lobby and the joins included, shows at most 60 frames a second.
    limitFrames(60);
    runLobby();
    return 0;
}
