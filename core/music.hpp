// The game's music: a calm loop for the lobby and a driving one for the match, made at
// start-up, and the switch that leaves the effects without it.
#pragma once

#include <SFML/Config.hpp>

#include <cstdint>
#include <vector>

// What the music plays: nothing, or one of its loops.
enum class Music : std::uint8_t {
    silence,
    lobby, // C major, 84 beats a minute, 8 bars
    match, // A minor, 126 beats a minute, 12 bars
};
constexpr int musicCount = 3;

// Samples per second of the loops, each one channel: half the effects' rate, as the music
// keeps below the effects' pitches.
constexpr unsigned int musicRate = 22050;
// The fastest the match loop plays, as a share of its own pace.
constexpr float fastestPace = 1.2f;

// Whether the music stays off while the effects play (twinrun --no-music).
extern bool musicOff;

// Makes the samples of a loop: 16-bit at musicRate, over 20 s long, whose last sample leads
// into its first as any other two do. Silence has none.
std::vector<sf::Int16> composeMusic(Music music);

// Asks for music to play from now on at pace times its own speed (1 to fastestPace): a loop
// that is not playing yet fades in from its start as the one before fades out.
void playMusic(Music music, float pace = 1.0f);
