// Joystick join: a prompt screen that teaches jump, down, left and right, each button pressed
// twice, or for left and right an axis pushed, let go and pushed again; then appends the new
// joystick player. Only the joining joystick takes part. A phone joins at once instead.
#include "core/globals.hpp"
#include "core/phones/phones.hpp"
#include "core/platform.hpp"
#include "roster/roster.hpp"

#include <cmath>
#include <cstdlib>

namespace {

bool isButtonOfJoiningJoystick() {
    return event.type == sf::Event::JoystickButtonPressed &&
           event.joystickButton.joystickId == joiningJoystickId;
}

// A move of the joining joystick beyond the threshold, taken while left is asked for.
bool isPush(int step) {
    return step == 2 && event.type == sf::Event::JoystickMoved &&
           event.joystickMove.joystickId == joiningJoystickId &&
           std::fabs(event.joystickMove.position) > axisThreshold;
}

bool isJoiningJoystickUnplugged() {
    return event.type == sf::Event::JoystickDisconnected &&
           event.joystickConnect.joystickId == joiningJoystickId;
}

// Waits, drawing nothing, until the pushed axis is back inside the threshold, so that the
// next push counts as the confirming one. Escape ends the program. False when the join must
// end: the window's close request, or the joining joystick unplugged.
bool waitForAxisLetGo() {
    while (axisHeld) {
        if (!window.isOpen()) {
            return false;
        }
        if (!pollInput()) {
            // Nothing happened: a short nap keeps the wait from taking a whole core.
            sleepFor(sf::milliseconds(2));
            continue;
        }
        if (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::Escape) {
            // Meant: Escape here ends the whole program, not only the join.
            window.close();
            std::exit(0);
        }
        if (event.type == sf::Event::Closed) {
            window.close();
            return false;
        }
        if (isJoiningJoystickUnplugged()) {
            return false;
        }
        trackJoystickPresence();
        // The live position: the library keeps it up to date as events are polled.
        if (std::fabs(readAxis(joiningJoystickId, pendingAxis)) < axisThreshold) {
            axisHeld = false;
        }
    }
    return true;
}

// Handles one event of the capture; false when the join must end at once.
bool takeJoystickEvent(Player& player) {
    const int step = bindingStep;
    if (event.type == sf::Event::Closed) {
        window.close();
        return true;
    }
    if (step >= 4) {
        // Events queued behind the last control have nothing left to teach.
        return true;
    }
    if (isJoiningJoystickUnplugged()) {
        return false;
    }
    if (isButtonOfJoiningJoystick()) {
        const std::uint32_t button = event.joystickButton.button;
        if (takeBindingPress(button, pendingButton)) {
            // Steps 1 to 4 name the jump, down, left and right buttons: slots 2 to 5.
            player.slot[bindingStep] = button;
        }
    } else if (isPush(step)) {
        const auto pushed = static_cast<std::uint32_t>(event.joystickMove.axis);
        if (!awaitingConfirm) {
            pendingAxis = pushed;
            axisHeld = true;
            if (!waitForAxisLetGo()) {
                return false;
            }
            awaitingConfirm = true;
        } else {
            awaitingConfirm = false;
            if (pushed == pendingAxis) {
                // The axis steers both ways: no left or right button is asked for.
                player.axis() = pendingAxis;
                player.leftButton() = noButton;
                bindingStep = 4;
                playSound(Sound::controlTaught);
            }
        }
    }
    return true;
}

} // namespace

void showJoystickPrompt() {
    if (bindingStep == 2) {
        showPrompt(awaitingConfirm ? "Press the button or move the axis\n\tagain to confirm"
                                   : "Press the left button or move an axis");
    } else if (awaitingConfirm) {
        showPrompt("Press the button again to confirm");
    } else if (bindingStep == 0) {
        showPrompt("Press the jump button");
    } else if (bindingStep == 1) {
        showPrompt("Press the down button");
    } else {
        showPrompt("Press the right button");
    }
}

void joinJoystickPlayer() {
    Player player = newPlayer();
    if (!captureBindings(player, showJoystickPrompt, takeJoystickEvent)) {
        abandonJoin();
        return;
    }
    player.device = "joystick";
    player.joystickId() = joiningJoystickId;
    finishJoin(player);
}

void joinPhonePlayer() {
    Player player = newPlayer();
    player.device = "joystick";
    player.joystickId() = joiningJoystickId;
    // The page's buttons, by their numbers: 0 JUMP, 1 DOWN, 2 LEFT, 3 RIGHT.
    player.jumpButton() = 0;
    player.downButton() = 1;
    player.leftButton() = 2;
    player.rightButton() = 3;
    // The phone's number now belongs to a player, who may come back on it.
    notePhoneJoined(joiningJoystickId);
    finishJoin(player);
}
