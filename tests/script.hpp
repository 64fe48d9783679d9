// The scripted platform that tests and benchmarks link: scripted events and axis positions,
// a clock that only moves when the game or a test waits (sleepFor), a seeded random bit, and a
// look at every frame before it is shown.
#pragma once

#include "core/platform.hpp"

#include <SFML/Window/Event.hpp>

#include <functional>
#include <optional>
#include <tuple>
#include <vector>

// Starts a new script: no events queued, axes centred, no source, no frame limit, and the
// random bit's generator seeded with seed. The clock keeps running from where it was.
void startScript(unsigned int seed = 1);
// Appends an event to the script, or with none the end of a pass: pollInput then reports no
// pending event once.
void scriptEvent(std::optional<sf::Event> scripted = std::nullopt);
// Makes source the script's supply: whenever the queued entries run out, pollInput calls it
// to append more before it ends a pass or runs dry; once it returns false it is dropped. A
// source can thus pick each event when it is about to be taken, after all earlier ones.
void scriptSource(std::function<bool()> source);
// True once the script ran out while a loop still asked for events. A dry script then acts
// as the window's close request, so that no loop waits forever.
bool scriptRanDry();

// An effect the game asked the platform to play: which, on which voice, and during which
// frame (the number of frames shown before it since the script started).
struct SoundRequest {
    Sound sound;
    int voice;
    int frame;
};
// The effects asked for since the script started, in order.
extern std::vector<SoundRequest> soundRequests;

// The states told to the controllers since the script started, in order: the joystick, the
// state, and the player's number and colour.
extern std::vector<std::tuple<unsigned int, ControllerState, int, sf::Color>> controllerTellings;

// Called with every frame just before it is shown; empty by default.
extern std::function<void()> beforePresent;

// The music asked for, each loop once until another is asked for, and the last pace asked.
extern std::vector<Music> musicRequests;
extern float musicPace;
