// Entry point: prepares the lobby, opens the full-screen window and runs the lobby loop.
#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "core/platform.hpp"
#include "core/system.hpp"
#include "core/window.hpp"
#include "roster/roster.hpp"

#include <SFML/System/Err.hpp>

#include <iostream>

int main() {
    // The game writes its own diagnostics; the library's would only repeat them.
    sf::err().rdbuf(nullptr);
    prepareSystem();
    setupLobby();
    if (!openGameWindow()) {
        std::cerr << "twinrun: could not open a " << screenWidth << "x" << screenHeight
                  << " full-screen window" << std::endl;
        return 1;
    }
    // Every screen, the lobby and the joins included, shows at most 60 frames a second.
    limitFrames(60);
    runLobby();
    return 0;
}
