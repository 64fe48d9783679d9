// Definitions of the shared globals, with the values they hold before main runs.
#include "core/globals.hpp"

sf::RenderWindow window;
int desktopWidth = static_cast<int>(sf::VideoMode::getDesktopMode().width);
int desktopHeight = static_cast<int>(sf::VideoMode::getDesktopMode().height);
int pixelScale = 1;
// Defined after the desktop's size, so that they start from it.
int screenWidth = desktopWidth;
int screenHeight = desktopHeight;

sf::Color backgroundColor = sf::Color::White;
sf::Color inkColor = sf::Color::Black;
sf::Color playerColors[playerColorCount];

std::string fontPath = "src/Pixellari.ttf";

bool matchRunning = false;
bool joinInProgress = false;
sf::Event event{};
