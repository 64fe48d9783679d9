// Keyboard join: a prompt screen that teaches jump, down, left and right, each key pressed
// twice, then appends the new keyboard player.
#include "roster/roster.hpp"
#include "shell/globals.hpp"
#include "shell/input.hpp"

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
        if (!awaitingConfirm) {
            pendingKey = key;
            awaitingConfirm = true;
        } else {
            awaitingConfirm = false;
            if (key == pendingKey) {
                bindingStep += 1;
                player.slot[bindingStep - 1] = key;
            }
        }
    } else if (event.type == sf::Event::Closed) {
        window.close();
    }
    return true;
}

} // namespace

void showKeyboardPrompt() {
    window.clear(sf::Color::White);
    promptText.setFont(uiFont);
    if (awaitingConfirm) {
        promptText.setString("Press the key again to confirm");
    } else if (bindingStep == 0) {
        promptText.setString("Press the jump key");
    } else if (bindingStep == 1) {
        promptText.setString("Press the down key");
    } else if (bindingStep == 2) {
        promptText.setString("Press the left key");
    } else {
        promptText.setString("Press the right key");
    }
    promptText.setCharacterSize(100);
    promptText.setFillColor(sf::Color::Black);
    const sf::FloatRect bounds = promptText.getLocalBounds();
    promptText.setOrigin(bounds.left + 0.5f * bounds.width, bounds.top + 0.5f * bounds.height);
    promptText.setPosition(0.5f * static_cast<float>(screenWidth),
                           0.5f * static_cast<float>(screenHeight));
    window.draw(promptText, sf::RenderStates::Default);
    presentFrame();
}

void joinKeyboardPlayer() {
    Player player = newPlayer();
    while (bindingStep < 4) {
        showKeyboardPrompt();
        while (pollInput()) {
            if (!takeKeyboardEvent(player)) {
                abandonJoin();
                return;
            }
        }
        // A closed window delivers no more presses: end the join without a player.
        if (!window.isOpen()) {
            abandonJoin();
            return;
        }
    }
    player.device = "keyboard";
    appendPlayer(player);
    bindingStep = 0;
    joinInProgress = false;
}
