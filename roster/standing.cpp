// Where each player stands, as its controller is told: decided from the roster's and the
// match's plain state and from what the controller was told last, and told only on a change.
#include "core/globals.hpp"
#include "core/platform.hpp"
#include "roster/roster.hpp"

ControllerState standingOf(const Player& player, int p) {
    using S = ControllerState;
    if (matchRunning) {
        return !player.alive ? S::out : player.hitTimer >= 0 ? S::stunned : S::running;
    }
    if (player.ready) {
        return S::ready;
    }
    switch (player.told) {
    case S::running:
    case S::stunned:
    case S::out:
        // The match is over: its winner, or one that went out in it; one still running when it
        // was left with Escape is simply back, not ready.
        return p == matchWinner                         ? S::won
               : player.told == S::out || !player.alive ? S::lobby
                                                        : S::notReady;
    case S::notJoined:
        return S::joined;
    case S::ready:
        return S::notReady;
    default:
        // Joined, not ready, and the last match's outcome stay until the player marks ready.
        return player.told;
    }
}

void tellControllers() {
    // The records, not the count: during a join the count already holds the joining player.
    for (std::size_t p = 0; p < players.size(); ++p) {
        Player& player = players[p];
        if (player.device != "joystick") {
            continue;
        }
        const int number = static_cast<int>(p);
        const ControllerState now = standingOf(player, number);
        if (now != player.told) {
            player.told = now;
            tellController(player.joystickId(), now, number, playerColor(number, false));
        }
    }
}
