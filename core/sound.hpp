// The game's sound effects: which moments have one, how each is made, and how many voices of
// one effect may sound at once.
#pragma once

#include <SFML/Config.hpp>

#include <cstdint>
#include <vector>

// The moments of play that are heard.
enum class Sound : std::uint8_t {
    controlTaught, // a join's press confirmed
    joined,        // a join ended with a new player
    ready,         // a ready mark set in the lobby
    unready,       // a ready mark taken back
    matchStart,    // everyone ready: the match begins
    jump,          // a jump starts
    coin,          // a coin taken
    stun,          // a hammer's stun starts
    out,           // a dinosaur is out
    matchOver,     // the last dinosaur is out
    hundred,       // the score reached another hundred
};
constexpr int soundCount = 11;

// Samples per second of every effect; each is one channel.
constexpr unsigned int soundRate = 44100;
// At most this many voices of one effect sound at once; a new one cuts the oldest short.
constexpr int voicesPerSound = 3;

// Whether the game stays silent (twinrun --mute): no effect is asked for, no device opened.
extern bool soundMuted;

// Makes the samples of an effect: 16-bit, soundRate a second, under half a second long.
std::vector<sf::Int16> synthesize(Sound sound);

// Plays the effect on one of its voices: a free one, else the oldest. A request within half a
// frame of the newest voice of that effect is dropped, as that voice already carries it: many
// players at once neither pile up into noise nor, on voices in step, into a clipping sum.
void playSound(Sound sound);
// Forgets which voices play, as at start-up.
void resetVoices();
