// Entry point: prepares the lobby, opens the full-screen window and runs the lobby loop.
#include "shell/globals.hpp"

#include <SFML/System/Err.hpp>

#include <iostream>

int main() {
    // The game writes its own diagnostics; the library's would only repeat them.
    sf::err().rdbuf(nullptr);
    setupLobby();
    window.create(sf::VideoMode(static_cast<unsigned int>(screenWidth),
                                static_cast<unsigned int>(screenHeight), 32),
                  sf::String("Twinrun"), sf::Style::Fullscreen);
    if (!window.isOpen()) {
        std::cerr << "twinrun: could not open a " << screenWidth << "x" << screenHeight
                  << " full-screen window" << std::endl;
        return 1;
    }
    runLobby();
    return 0;
}
