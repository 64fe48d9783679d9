// Joysticks that come and go: the player of a disconnected joystick is absent, with nothing
// held and no ready mark, until a joystick of the same number connects again.
#include "core/globals.hpp"
#include "core/platform.hpp"
#include "roster/roster.hpp"

void trackJoystickPresence() {
    const bool gone = event.type == sf::Event::JoystickDisconnected;
    if (!gone && event.type != sf::Event::JoystickConnected) {
        return;
    }
    const std::uint32_t joystickId = event.joystickConnect.joystickId;
    bool played = false;
    // The records, not the count: during a join the count already holds the joining player,
    // who has no record yet.
    for (Player& player : players) {
        if (player.device != "joystick" || player.joystickId() != joystickId) {
            continue;
        }
        played = true;
        player.absent = gone;
        // A joystick that went away sends no releases, and one that comes back may be a
        // different pad on the same number: either way nothing it held is held now, and its
        // player marks ready afresh. No sound: the mark was not taken back by the player.
        player.ready = false;
        player.speed = 0.0f;
        player.jumpPressed = false;
        player.downPressed = false;
    }
    if (!gone && !played) {
        tellController(joystickId, ControllerState::notJoined, -1, sf::Color::Black);
    }
}
