// Definitions of the roster's globals, with the values they hold before main runs.
#include "roster/roster.hpp"

#include <SFML/Window/Keyboard.hpp>

std::vector<Player> players;
std::int32_t playerCount = 0;
std::int32_t matchWinner = -1;

std::int32_t bindingStep = 0;
bool awaitingConfirm = false;
std::uint32_t pendingKey = sf::Keyboard::Escape;
std::uint32_t joiningJoystickId = 0;
std::uint32_t pendingButton = 0;
std::uint32_t pendingAxis = 0;
bool axisHeld = false;

sf::Font uiFont;
sf::Text lobbyText;
sf::Text promptText;
std::string idlePath = "src/idle.gif";
sf::Texture idleTexture;
sf::Sprite idleSprite;
std::string markPath = "src/mark.png";
sf::Texture markTexture;
sf::Sprite markSprite;
