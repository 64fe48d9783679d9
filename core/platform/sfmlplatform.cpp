// The platform over SFML, the one the game links: window events and then the phones', the
// joysticks' axes, sf::Clock time, real sleeps, the window's own frame limit, a random-device
// seed, and the players' states to their phones.
#include "core/globals.hpp"
#include "core/phones/phones.hpp"
#include "core/phones/phoneserver.hpp"
#include "core/phones/phonestates.hpp"
#include "core/platform.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>
#include <SFML/Window/Joystick.hpp>

namespace {

// The window has no more events in this pass: the phones' come next.
bool windowDrained = false;

} // namespace

bool pollInput() {
    // A pass takes the window's events, then the phones', which cost no poll of the window
    // each and come at most maxPhoneEventsPerPass at a time; a pass ends when both are done.
    if (!windowDrained && window.pollEvent(event)) {
        return true;
    }
    windowDrained = true;
    if (takePhoneEvent(event)) {
        return true;
    }
    windowDrained = false;
    return false;
}

float readAxis(unsigned int joystickId, unsigned int axis) {
    // The library indexes its arrays with these numbers unchecked; phones, numbered from 8,
    // have no axes.
    if (joystickId >= sf::Joystick::Count || axis >= sf::Joystick::AxisCount) {
        return 0.0f;
    }
    return sf::Joystick::getAxisPosition(joystickId, static_cast<sf::Joystick::Axis>(axis));
}

sf::Time platformTime() {
    // Made at the first call, so that clocks among the globals may read it before main.
    static const sf::Clock origin;
    return origin.getElapsedTime();
}

void sleepFor(sf::Time duration) {
    sf::sleep(duration);
}

void limitFrames(unsigned int perSecond) {
    window.setFramerateLimit(perSecond);
}

void presentFrame() {
    window.display();
}

void tellController(unsigned int joystickId, ControllerState state, int player, sf::Color colour) {
    // Pads have no screen; a phone's page shows where its player stands.
    if (joystickId >= firstPhoneJoystick) {
        tellPhone(static_cast<int>(joystickId - firstPhoneJoystick),
                  phoneStateText(state, player, colour));
    }
}

std::mt19937& bitGenerator() {
    static std::mt19937 engine(std::random_device{}());
    return engine;
}
