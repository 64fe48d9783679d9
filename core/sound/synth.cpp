// The effects' sounds, made at start-up from tones, sweeps and noise under an envelope, so
// that the game reads no sound files.
#include "core/sound.hpp"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// One note of an effect: a tone gliding from one pitch to another, with some noise mixed in.
struct Note {
    float fromHz;
    float toHz;
    float seconds;
    float noise; // share of noise in the mix, 0 to 1
};

// Every effect is this loud (its RMS level), within the peak limit below.
constexpr double loudness = 0.11;  // about -19 dBFS
constexpr double peakLimit = 0.49; // just under -6 dBFS
constexpr double attackSeconds = 0.004;
constexpr double pi = 3.14159265358979323846;

std::vector<Note> notesOf(Sound sound) {
    switch (sound) {
    case Sound::controlTaught:
        return {{1320, 1320, 0.06f, 0}};
    case Sound::joined:
        return {{523, 523, 0.09f, 0}, {659, 659, 0.09f, 0}, {784, 784, 0.16f, 0}};
    case Sound::ready:
        return {{660, 660, 0.08f, 0}, {990, 990, 0.12f, 0}};
    case Sound::unready:
        return {{990, 990, 0.08f, 0}, {660, 660, 0.12f, 0}};
    case Sound::matchStart:
        return {{392, 392, 0.1f, 0}, {523, 523, 0.1f, 0}, {784, 784, 0.24f, 0}};
    case Sound::jump:
        return {{330, 740, 0.14f, 0}};
    case Sound::coin:
        return {{988, 988, 0.07f, 0}, {1319, 1319, 0.2f, 0}};
    case Sound::stun:
        return {{220, 110, 0.3f, 0.35f}};
    case Sound::out:
        return {{600, 150, 0.4f, 0.15f}};
    case Sound::matchOver:
        return {{784, 784, 0.12f, 0}, {622, 622, 0.12f, 0}, {523, 523, 0.22f, 0}};
    case Sound::hundred:
        return {{1568, 1568, 0.06f, 0}, {2093, 2093, 0.12f, 0}};
    }
    return {};
}

// A soft tone: the fundamental with a little of the next two harmonics, never a square's
// buzz.
double tone(double phase) {
    return std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.12 * std::sin(3 * phase);
}

// Appends a note: an exponential glide, a short attack and a decay that ends at silence, so
// that notes join without clicks.
void appendNote(std::vector<double>& out, const Note& note, std::minstd_rand& random) {
    const auto count = static_cast<int>(note.seconds * soundRate);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    double phase = 0.0;
    double noise = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / soundRate;
        const double along = static_cast<double>(i) / count;
        const double hz = note.fromHz * std::pow(note.toHz / note.fromHz, along);
        phase += 2 * pi * hz / soundRate;
        // Noise through a one-pole low-pass: a rumble rather than a hiss.
        noise += 0.15 * (white(random) - noise);
        const double envelope = std::min(1.0, t / attackSeconds) * std::pow(1.0 - along, 1.5);
        out.push_back(envelope * ((1.0 - note.noise) * tone(phase) + note.noise * 3.0 * noise));
    }
}

} // namespace

std::vector<sf::Int16> synthesize(Sound sound) {
    std::minstd_rand random(7);
    std::vector<double> wave;
    for (const Note& note : notesOf(sound)) {
        appendNote(wave, note, random);
    }
    double energy = 0.0;
    double peak = 0.0;
    for (const double x : wave) {
        energy += x * x;
        peak = std::max(peak, std::fabs(x));
    }
    const double rms = wave.empty() ? 0.0 : std::sqrt(energy / static_cast<double>(wave.size()));
    const double gain = rms > 0.0 ? std::min(loudness / rms, peakLimit / peak) : 0.0;
    std::vector<sf::Int16> samples(wave.size());
    std::transform(wave.begin(), wave.end(), samples.begin(), [gain](double x) {
        return static_cast<sf::Int16>(std::lround(x * gain * 32767));
    });
    return samples;
}
