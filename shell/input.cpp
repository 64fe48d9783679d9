// The input layer: events from the window or from a test's script, and axis positions
// from the joysticks or from the script.
#include "shell/input.hpp"

#include "shell/globals.hpp"

#include <SFML/Window/Joystick.hpp>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <utility>

namespace {

// One entry of a script: an event, or the end of a pass.
struct ScriptEntry {
    bool passEnd = false;
    sf::Event scripted{};
};

// Whether pollInput and readAxis read the script instead of the devices.
bool scripted = false;
// Events still to be delivered.
std::deque<ScriptEntry> script;
// Appends more entries when the script runs out; empty when there is none.
std::function<bool()> supply;
// Scripted axis positions, brought up to date by scripted moves like the library's state.
float scriptedAxes[sf::Joystick::Count][sf::Joystick::AxisCount] = {};
// The script's end was reported once as an empty queue, which ends the pass that took
// the last events.
bool endReported = false;
// The script ran out while a loop still asked for events.
bool ranDry = false;
// Polls since the script ran dry; a loop that ignores the close request is stopped.
int dryPolls = 0;
constexpr int dryPollLimit = 100000;

bool validAxis(unsigned int joystickId, unsigned int axis) {
    return joystickId < sf::Joystick::Count && axis < sf::Joystick::AxisCount;
}

bool pollScript() {
    if (!window.isOpen()) {
        return false;
    }
    if (script.empty() && supply && !supply()) {
        supply = nullptr;
    }
    if (script.empty() && !endReported) {
        endReported = true;
        return false;
    }
    if (script.empty()) {
        // Asked again: the loop waits for input that will never come. Alternate a close request
        // with an empty queue, so that loops which poll until the queue is empty still end their
        // pass and see the window closed.
        ranDry = true;
        if (++dryPolls > dryPollLimit) {
            std::fputs("twinrun: scripted input ran dry and the loop did not end\n", stderr);
            std::abort();
        }
        if (dryPolls % 2 == 0) {
            return false;
        }
        event = sf::Event{};
        event.type = sf::Event::Closed;
        return true;
    }
    ScriptEntry entry = script.front();
    script.pop_front();
    endReported = false;
    if (entry.passEnd) {
        return false;
    }
    event = entry.scripted;
    if (event.type == sf::Event::JoystickMoved &&
        validAxis(event.joystickMove.joystickId, event.joystickMove.axis)) {
        scriptedAxes[event.joystickMove.joystickId][event.joystickMove.axis] =
            event.joystickMove.position;
    }
    return true;
}

} // namespace

bool pollInput() {
    if (scripted) {
        return pollScript();
    }
    return window.pollEvent(event);
}

float readAxis(unsigned int joystickId, unsigned int axis) {
    // The library indexes its arrays with these numbers unchecked.
    if (!validAxis(joystickId, axis)) {
        return 0.0f;
    }
    if (scripted) {
        return scriptedAxes[joystickId][axis];
    }
    return sf::Joystick::getAxisPosition(joystickId, static_cast<sf::Joystick::Axis>(axis));
}

void startScript() {
    scripted = true;
    script.clear();
    endReported = false;
    ranDry = false;
    dryPolls = 0;
    supply = nullptr;
    for (auto& joystick : scriptedAxes) {
        for (float& position : joystick) {
            position = 0.0f;
        }
    }
}

void stopScript() {
    scripted = false;
    script.clear();
    supply = nullptr;
}

void scriptEvent(const sf::Event& scriptedEvent) {
    ScriptEntry entry;
    entry.scripted = scriptedEvent;
    script.push_back(entry);
}

void scriptPassEnd() {
    ScriptEntry entry;
    entry.passEnd = true;
    script.push_back(entry);
}

void scriptSource(std::function<bool()> source) {
    supply = std::move(source);
}

void scriptAxis(unsigned int joystickId, unsigned int axis, float position) {
    if (validAxis(joystickId, axis)) {
        scriptedAxes[joystickId][axis] = position;
    }
}

bool scriptRanDry() {
    return ranDry;
}
