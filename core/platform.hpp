// The platform seam: the one layer through which the game gets its events, joystick axis
// positions, time and chance, shows its frames and plays its sounds. The game links the SFML side
// (core/platform/sfmlplatform.cpp); tests and benchmarks link a scripted side of their own.
#pragma once

#include "core/music.hpp"
#include "core/sound.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Time.hpp>

#include <cstdint>
#include <random>

// Takes the next pending event into the global event; false when none is pending.
bool pollInput();
// Live position of an axis of a joystick, -100 to 100; 0 for ids or axes out of range.
float readAxis(unsigned int joystickId, unsigned int axis);

// Time since a fixed moment before the first call; only differences mean anything.
sf::Time platformTime();
// Waits for the given time; no wait for zero or less.
void sleepFor(sf::Time duration);

// Caps how often presentFrame shows a frame: it waits until 1/perSecond has passed since the
// previous one. 0 lifts the cap.
void limitFrames(unsigned int perSecond);
// Shows the frame drawn into the window.
void presentFrame();

// Makes every effect's sound and voices, so that none is made during play. Without an audio
// device the game plays on, silent, after one line on standard error.
void openAudio();
// Plays the effect from its start on its voice number voice (below voicesPerSound), cutting
// short what that voice played.
void startVoice(Sound sound, int voice);

// The generator behind randomBit: one per process, seeded once.
std::mt19937& bitGenerator();

// Where a controller's player stands, as its controller is told: no player plays with it;
// joined; ready; not ready; running in a match; stunned; out of the match; back in the lobby
// as the winner of the last match, or (lobby) out of it, until it marks ready again.
enum class ControllerState : std::uint8_t {
    notJoined,
    joined,
    ready,
    notReady,
    running,
    stunned,
    out,
    won,
    lobby
};
// Tells the controller of a joystick where its player, number player (from 0) in colour,
// stands now; a controller with a screen shows it. Told when it changes, not every frame.
void tellController(unsigned int joystickId, ControllerState state, int player, sf::Color colour);

// A stopwatch on the platform's time, used like sf::Clock: it starts when made and
// restarts on request.
class Clock {
  public:
    Clock() : started(platformTime()) {}
    sf::Time getElapsedTime() const { return platformTime() - started; }
    // Starts again from now; the time that had passed.
    sf::Time restart() {
        const sf::Time now = platformTime();
        const sf::Time elapsed = now - started;
        started = now;
        return elapsed;
    }

  private:
    sf::Time started;
};

// Plays the music's loop from now on at pace times its own speed, fading from what played
// before within half a second; asked again for the loop that plays, it only takes the new
// pace. Music::silence fades the music out. The SFML side makes its loops in openAudio,
// unless the music is off.
void playLoop(Music music, float pace);
