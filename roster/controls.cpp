// Action lookups (which player a key or button belongs to, as which control) and the
// match's handlers that turn events into a player's speed and jump and down flags.
#include "core/globals.hpp"
#include "core/platform.hpp"
#include "roster/roster.hpp"

#include <bitset>
#include <iostream>

namespace {

// What a press or a release of a looked-up control does to its player.
void applyPress(const PlayerAction& found) {
    if (found.action.empty()) {
        return;
    }
    Player& player = players[found.playerIndex];
    if (found.action == "left") {
        player.speed = -1.0f;
    } else if (found.action == "right") {
        player.speed = 1.0f;
    } else if (found.action == "jump") {
        player.jumpPressed = true;
    } else if (found.action == "down") {
        player.downPressed = true;
        player.onPlatform = false;
    }
}

void applyRelease(const PlayerAction& found) {
    if (found.action.empty()) {
        return;
    }
    Player& player = players[found.playerIndex];
    if (found.action == "left" || found.action == "right") {
        player.speed = 0.0f;
    } else if (found.action == "jump") {
        player.jumpPressed = false;
    } else if (found.action == "down") {
        player.downPressed = false;
    }
}

// The keys pressed in a match and not released since, by key code.
std::bitset<sf::Keyboard::KeyCount> heldKeys;

// Records a press or release of a key with a known code.
void trackKey(bool held) {
    const int code = event.key.code;
    if (code >= 0 && code < sf::Keyboard::KeyCount) {
        heldKeys[static_cast<std::size_t>(code)] = held;
    }
}

// A window without the focus never hears the releases of the keys held when it lost it:
// each held key of a keyboard player is let go as if released, so nobody keeps running on a
// key that is no longer down. Joysticks report their releases whatever has the focus.
void releaseHeldKeys() {
    for (std::size_t code = 0; code < heldKeys.size(); ++code) {
        if (heldKeys[code]) {
            applyRelease(findKeyAction(static_cast<std::uint32_t>(code)));
        }
    }
    heldKeys.reset();
}

PlayerAction actionOf(std::int32_t playerIndex, const char* action) {
    PlayerAction found;
    found.playerIndex = playerIndex;
    found.action = action;
    return found;
}

// Steers the player whose joystick and axis the current move belongs to.
void steerByAxis() {
    const std::uint32_t joystickId = event.joystickMove.joystickId;
    const auto movedAxis = static_cast<std::uint32_t>(event.joystickMove.axis);
    PlayerAction found;
    // Meant: the trace names every player checked, and a player of the moved joystick twice.
    for (int i = 0; i < playerCount; ++i) {
        std::cerr << "Checking axis for player " << i << std::endl;
        Player& player = players[i];
        if (player.device == "joystick" && player.joystickId() == joystickId) {
            std::cerr << "Checking axis for player " << i << std::endl;
            if (player.axis() == movedAxis) {
                found.playerIndex = i;
                found.action = "axis";
                break;
            }
        }
    }
    if (found.action != "axis") {
        return;
    }
    Player& player = players[found.playerIndex];
    found.value = static_cast<float>(readAxis(player.joystickId(), player.axis()) / 100.0);
    std::cerr << "Axis value: " << found.value << std::endl;
    // The trace stays as it is; an absent player's joystick steers nobody.
    if (!player.absent) {
        player.speed = found.value;
    }
}

} // namespace

PlayerAction findKeyAction(std::uint32_t key) {
    for (int p = 0; p < playerCount; ++p) {
        Player& player = players[p];
        if (player.device != "keyboard") {
            continue;
        }
        if (player.jumpKey() == key) {
            return actionOf(p, "jump");
        }
        if (player.downKey() == key) {
            return actionOf(p, "down");
        }
        if (player.leftKey() == key) {
            return actionOf(p, "left");
        }
        if (player.rightKey() == key) {
            return actionOf(p, "right");
        }
    }
    return PlayerAction();
}

PlayerAction findButtonAction(std::uint32_t button) {
    const std::uint32_t joystickId = event.joystickButton.joystickId;
    for (int p = 0; p < playerCount; ++p) {
        Player& player = players[p];
        // An absent player's buttons do nothing until its joystick connects again.
        if (player.device != "joystick" || player.joystickId() != joystickId || player.absent) {
            continue;
        }
        if (player.jumpButton() == button) {
            return actionOf(p, "jump");
        }
        if (player.downButton() == button) {
            return actionOf(p, "down");
        }
        // A player who steers by an axis has no left and right buttons.
        if (player.leftButton() == noButton) {
            continue;
        }
        if (player.leftButton() == button) {
            return actionOf(p, "left");
        }
        if (player.rightButton() == button) {
            return actionOf(p, "right");
        }
    }
    return PlayerAction();
}

void handleMatchKeyEvent() {
    if (event.type == sf::Event::KeyPressed) {
        if (event.key.code == sf::Keyboard::Escape) {
            matchRunning = false;
        }
        trackKey(true);
        applyPress(findKeyAction(static_cast<std::uint32_t>(event.key.code)));
    } else if (event.type == sf::Event::KeyReleased) {
        trackKey(false);
        applyRelease(findKeyAction(static_cast<std::uint32_t>(event.key.code)));
    } else if (event.type == sf::Event::LostFocus) {
        releaseHeldKeys();
    }
}

void handleMatchJoystickEvent() {
    if (event.type == sf::Event::JoystickButtonPressed) {
        applyPress(findButtonAction(event.joystickButton.button));
    } else if (event.type == sf::Event::JoystickButtonReleased) {
        applyRelease(findButtonAction(event.joystickButton.button));
    } else if (event.type == sf::Event::JoystickMoved) {
        steerByAxis();
    } else {
        trackJoystickPresence();
    }
}
