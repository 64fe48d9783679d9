// The scripted platform: events and axis positions from a script (the phones' queued events
// come first, as on the game's side), a clock that moves only when the game or a test waits,
// the random bit from a chosen seed, and a record of the sounds asked for. Frames are still
// drawn into the real window, so that tests can read them back.
#include "script.hpp"

#include "core/globals.hpp"
#include "core/phones/phones.hpp"

#include <SFML/Window/Joystick.hpp>

#include <algorithm>
#include <deque>
#include <optional>
#include <utility>

std::function<void()> beforePresent;
std::vector<SoundRequest> soundRequests;

namespace {

// The scripted time, in microseconds.
sf::Int64 now = 0;
// The script's state, all of it new when a script starts.
struct Script {
    // Events still to be delivered; an empty entry ends a pass.
    std::deque<std::optional<sf::Event>> queue;
    // Appends more entries when the queue runs out; empty when there is none.
    std::function<bool()> supply;
    // Scripted axis positions, brought up to date by scripted moves like the library's state.
    float axes[sf::Joystick::Count][sf::Joystick::AxisCount] = {};
    // The script's end was reported once as an empty queue, which ends the pass that took the
    // last events.
    bool endReported = false;
    // The script ran out while a loop still asked for events.
    bool ranDry = false;
    // When the last frame was shown (for a new script, now) and the least time between two frames
    // (0 for no limit), in microseconds.
    sf::Int64 lastFrame = now;
    sf::Int64 frameTime = 0;
    // Frames shown since the script started.
    int framesShown = 0;
} script;
// The random bit's generator.
std::mt19937 generator;

// The stored position of an axis; for ids and axes the library does not have, a spare one
// that reads 0.
float& axisAt(unsigned int joystickId, unsigned int axis) {
    static float spare;
    const bool known = joystickId < sf::Joystick::Count && axis < sf::Joystick::AxisCount;
    return known ? script.axes[joystickId][axis] : (spare = 0.0f);
}

} // namespace

bool pollInput() {
    // A closed window has no events; the phones' queued events come first.
    if (!window.isOpen() || takePhoneEvent(event)) {
        return window.isOpen();
    }
    if (script.queue.empty() && script.supply && !script.supply()) {
        script.supply = nullptr;
    }
    if (script.queue.empty()) {
        // Asked again after the end, the loop waits for input that will never come: the
        // window's close request, which every loop obeys, and an empty queue in turn, so that
        // loops that poll until the queue is empty still end their pass and see it.
        const bool dry = std::exchange(script.endReported, !script.endReported);
        script.ranDry = script.ranDry || dry;
        event.type = dry ? sf::Event::Closed : event.type;
        return dry;
    }
    const std::optional<sf::Event> entry = script.queue.front();
    script.queue.pop_front();
    script.endReported = false;
    event = entry.value_or(event);
    if (entry && event.type == sf::Event::JoystickMoved) {
        axisAt(event.joystickMove.joystickId, event.joystickMove.axis) =
            event.joystickMove.position;
    }
    return entry.has_value();
}

float readAxis(unsigned int joystickId, unsigned int axis) {
    return axisAt(joystickId, axis);
}

sf::Time platformTime() {
    return sf::microseconds(now);
}

void sleepFor(sf::Time duration) {
    now += std::max(duration, sf::Time::Zero).asMicroseconds();
}

void limitFrames(unsigned int perSecond) {
    script.frameTime = perSecond == 0 ? 0 : 1000000 / perSecond;
}

void presentFrame() {
    if (beforePresent && window.isOpen()) {
        beforePresent();
    }
    window.display();
    // Like the window's own limit: wait out the rest of the frame's time, then start anew.
    now = script.lastFrame = std::max(now, script.lastFrame + script.frameTime);
    script.framesShown += 1;
}

void openAudio() {}

void startVoice(Sound sound, int voice) {
    soundRequests.push_back({sound, voice, script.framesShown});
}

// The controllers' states: recorded, in order, for the tests to read.
std::vector<std::tuple<unsigned int, ControllerState, int, sf::Color>> controllerTellings;

void tellController(unsigned int joystickId, ControllerState state, int player, sf::Color colour) {
    controllerTellings.emplace_back(joystickId, state, player, colour);
}

std::mt19937& bitGenerator() {
    return generator;
}

void startScript(unsigned int seed) {
    script = Script{};
    generator.seed(seed);
    soundRequests.clear();
    controllerTellings.clear();
    resetVoices();
}

void scriptEvent(std::optional<sf::Event> scripted) {
    script.queue.push_back(scripted);
}

void scriptSource(std::function<bool()> source) {
    script.supply = std::move(source);
}

bool scriptRanDry() {
    return script.ranDry;
}

std::vector<Music> musicRequests;
float musicPace = 1.0f;

void playLoop(Music music, float pace) {
    if (musicRequests.empty() || musicRequests.back() != music) {
        musicRequests.push_back(music);
    }
    musicPace = pace;
}
