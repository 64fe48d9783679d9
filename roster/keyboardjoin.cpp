// Keyboard join: a prompt screen that teaches jump, down, left and right, each key pressed
// twice, then appends the new keyboard player.
#include "core/globals.hpp"
#include "roster/roster.hpp"

namespace {

// Handles one event of the capture; false when the join must end at once (Escape).
bool takeKeyboardEvent(Player& player) {
    if (event.type == sf::Event::KeyPressed) {
        if (event.key.code == sf::Keyboard::Escape) {
            return false;
        }
        const auto key = static_cast<std::uint32_t>(event.key.code);
        if (bindingStep >= 4) {
            // Presses queued behind the fourth confirmation have no control left to teach.
            return true;
        }
        if (takeBindingPress(key, pendingKey)) {
            // Steps 1 to 4 name the jump, down, left and right keys: slots 1 to 4.
            player.slot[bindingStep - 1] = key;
        }
    } else if (event.type == sf::Event::Closed) {
        window.close();
    }
    return true;
}

} // namespace

void showKeyboardPrompt() {
    if (awaitingConfirm) {
        showPrompt("Press the key again to confirm");
    } else if (bindingStep == 0) {
        showPrompt("Press the jump key");
    } else if (bindingStep == 1) {
        showPrompt("Press the down key");
    } else if (bindingStep == 2) {
        showPrompt("Press the left key");
    } else {
        showPrompt("Press the right key");
    }
}

void joinKeyboardPlayer() {
    Player player = newPlayer();
    if (!captureBindings(player, showKeyboardPrompt, takeKeyboardEvent)) {
        abandonJoin();
        return;
    }
    player.device = "keyboard";
    finishJoin(player);
}
