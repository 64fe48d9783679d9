// Definitions of the shell's globals, with the values they hold before main runs.
#include "shell/globals.hpp"

sf::RenderWindow window;
int screenWidth = static_cast<int>(desktopMode().width);
int screenHeight = static_cast<int>(desktopMode().height);

sf::Color backgroundColor = sf::Color::White;
sf::Color inkColor = sf::Color::Black;
sf::Color playerColors[playerColorCount];

std::string fontPath = "src/Pixellari.ttf";

bool matchRunning = false;
bool joinInProgress = false;
sf::Event event{};
PlayerAction lobbyAction;

std::function<void()> beforePresent;

void presentFrame() {
    if (beforePresent && window.isOpen()) {
        beforePresent();
    }
    window.display();
}
