// Definitions of the shared globals, with the values they hold before main runs.
#include "core/globals.hpp"

sf::RenderWindow window;
int screenWidth = static_cast<int>(sf::VideoMode::getDesktopMode().width);
int screenHeight = static_cast<int>(sf::VideoMode::getDesktopMode().height);

sf::Color backgroundColor = sf::Color::White;
sf::Color inkColor = sf::Color::Black;
sf::Color playerColors[playerColorCount];

std::string fontPath = "src/Pixellari.ttf";

bool matchRunning = false;
bool joinInProgress = false;
sf::Event event{};
