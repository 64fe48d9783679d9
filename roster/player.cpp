// Player records: building a new one, appending it, abandoning a join, and colours.
#include "roster/roster.hpp"
#include "shell/globals.hpp"

Player newPlayer() {
    Player player;
    player.index = playerCount - 1;
    player.jumpStartY = static_cast<float>(screenHeight);
    return player;
}

void appendPlayer(const Player& player) {
    players.push_back(player);
}

void abandonJoin() {
    // The lobby raised the count before the join; a join that appends nothing takes it back,
    // and the next join starts from its first control.
    playerCount = static_cast<std::int32_t>(players.size());
    bindingStep = 0;
    awaitingConfirm = false;
    axisHeld = false;
    joinInProgress = false;
}

sf::Color playerColor(int p, bool night) {
    constexpr int pairs = playerColorCount / 2;
    const int pair = p >= 0 ? p % pairs : 0;
    return playerColors[2 * pair + (night ? 1 : 0)];
}
