// The scripted platform: events and axis positions from a script, a clock that moves only
// when the game waits or a test moves it, and the random bit from a chosen seed. Frames are
// still drawn into the real window, so that tests can read them back.
#include "script.hpp"

#include "core/globals.hpp"

#include <SFML/Window/Joystick.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <utility>

std::function<void()> beforePresent;

namespace {

// Events still to be delivered; an empty entry ends a pass.
std::deque<std::optional<sf::Event>> script;
// Appends more entries when the script runs out; empty when there is none.
std::function<bool()> supply;
// Scripted axis positions, brought up to date by scripted moves like the library's state.
float scriptedAxes[sf::Joystick::Count][sf::Joystick::AxisCount] = {};
// The script's end was reported once as an empty queue, which ends the pass that took the
// last events.
bool endReported = false;
// The script ran out while a loop still asked for events.
bool ranDry = false;
// Polls since the script ran dry; a loop that ignores the close request is stopped.
int dryPolls = 0;
constexpr int dryPollLimit = 100000;

// The scripted time in microseconds, and when the last frame was shown.
sf::Int64 now = 0;
sf::Int64 lastFrame = 0;
// Least time between two frames shown, in microseconds; 0 for no limit.
sf::Int64 frameTime = 0;

std::mt19937 generator;

bool validAxis(unsigned int joystickId, unsigned int axis) {
    return joystickId < sf::Joystick::Count && axis < sf::Joystick::AxisCount;
}

// Asked again after the end: the loop waits for input that will never come. A close request
// alternates with an empty queue, so that loops which poll until the queue is empty still end
// their pass and see the window closed.
bool pollDry() {
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

} // namespace

bool pollInput() {
    if (!window.isOpen()) {
        return false;
    }
    if (script.empty() && supply && !supply()) {
        supply = nullptr;
    }
    if (script.empty()) {
        if (!endReported) {
            endReported = true;
            return false;
        }
        return pollDry();
    }
    const std::optional<sf::Event> entry = script.front();
    script.pop_front();
    endReported = false;
    if (!entry) {
        return false;
    }
    event = *entry;
    if (event.type == sf::Event::JoystickMoved &&
        validAxis(event.joystickMove.joystickId, event.joystickMove.axis)) {
        scriptedAxes[event.joystickMove.joystickId][event.joystickMove.axis] =
            event.joystickMove.position;
    }
    return true;
}

float readAxis(unsigned int joystickId, unsigned int axis) {
    return validAxis(joystickId, axis) ? scriptedAxes[joystickId][axis] : 0.0f;
}

sf::Time platformTime() {
    return sf::microseconds(now);
}

void sleepFor(sf::Time duration) {
    if (duration > sf::Time::Zero) {
        now += duration.asMicroseconds();
    }
}

void limitFrames(unsigned int perSecond) {
    frameTime = perSecond == 0 ? 0 : 1000000 / perSecond;
}

void presentFrame() {
    if (beforePresent && window.isOpen()) {
        beforePresent();
    }
    window.display();
    // Like the window's own limit: wait out the rest of the frame's time, then start anew.
    if (frameTime > 0 && now - lastFrame < frameTime) {
        now = lastFrame + frameTime;
    }
    lastFrame = now;
}

std::mt19937& bitGenerator() {
    return generator;
}

void startScript(unsigned int seed) {
    script.clear();
    supply = nullptr;
    endReported = false;
    ranDry = false;
    dryPolls = 0;
    frameTime = 0;
    lastFrame = now;
    generator.seed(seed);
    std::fill(&scriptedAxes[0][0], &scriptedAxes[0][0] + sizeof scriptedAxes / sizeof(float), 0.0f);
}

void scriptEvent(const sf::Event& scripted) {
    script.emplace_back(scripted);
}

void scriptPassEnd() {
    script.emplace_back();
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

void advanceClock(sf::Time by) {
    now += by.asMicroseconds();
}
