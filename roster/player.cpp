// Player records: building a new one, appending it, and the players' colours.
#include "core/globals.hpp"
#include "roster/roster.hpp"

Player newPlayer() {
    Player player;
    player.index = playerCount - 1;
    player.jumpStartY = static_cast<float>(screenHeight);
    return player;
}

void appendPlayer(const Player& player) {
    players.push_back(player);
}

sf::Color playerColor(int p, bool night) {
    constexpr int pairs = playerColorCount / 2;
    const int pair = p >= 0 ? p % pairs : 0;
    return playerColors[2 * pair + (night ? 1 : 0)];
}

sf::Uint8 lobbyOpacity(const Player& player) {
    return player.absent ? 85 : 255;
}
