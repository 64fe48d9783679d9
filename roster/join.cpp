// What the keyboard and the joystick join share: the prompt frame, the capture loop, and
// the two ways a join ends, with a new player or without one.
#include "core/globals.hpp"
#include "core/platform.hpp"
#include "core/scale.hpp"
#include "roster/roster.hpp"

void showPrompt(const char* text) {
    window.clear(sf::Color::White);
    promptText.setFont(uiFont);
    promptText.setString(text);
    sizeText(promptText, 100);
    promptText.setFillColor(sf::Color::Black);
    centreOnScreen(promptText);
    window.draw(promptText, sf::RenderStates::Default);
    presentFrame();
}

bool captureBindings(Player& player, void (*showFrame)(), bool (*takeEvent)(Player&)) {
    while (bindingStep < 4) {
        showFrame();
        while (pollInput()) {
            // A joined player's joystick may come or go while someone else joins.
            trackJoystickPresence();
            if (!takeEvent(player)) {
                return false;
            }
        }
        // A closed window delivers no more presses.
        if (!window.isOpen()) {
            return false;
        }
    }
    return true;
}

bool takeBindingPress(std::uint32_t pressed, std::uint32_t& pending) {
    if (!awaitingConfirm) {
        pending = pressed;
        awaitingConfirm = true;
        return false;
    }
    awaitingConfirm = false;
    if (pressed != pending) {
        // Neither a confirmation nor a new first press: the control is asked for again.
        return false;
    }
    bindingStep += 1;
    playSound(Sound::controlTaught);
    return true;
}

void finishJoin(const Player& player) {
    appendPlayer(player);
    playSound(Sound::joined);
    bindingStep = 0;
    joinInProgress = false;
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
