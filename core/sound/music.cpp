// The music's loops, made at start-up from a few instruments (a pad, a plucked string, a bass,
// and a drum kit of swept sine and noise), so that the game reads no music file. Every note is
// made once and added wherever it sounds; a note that runs past the loop's end goes on at its
// start, so that the loop point is as smooth as any other moment.
#include "core/music.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <tuple>

namespace {

enum class Instrument { pad, pluck, bass, kick, snare, hat };

// One note of a loop: its instrument and pitch (a MIDI note number), when it starts and how
// long it lasts, in beats, and its level.
struct Note {
    Instrument instrument;
    int pitch;
    double beat;
    double beats;
    double level;
};

constexpr double pi = 3.14159265358979323846;

// A sine of a steady pitch, turned by one rotation a sample: no call to sin per sample.
struct Oscillator {
    double s = 0.0, c = 1.0, ds, dc;
    explicit Oscillator(double hz)
        : ds(std::sin(2 * pi * hz / musicRate)), dc(std::cos(2 * pi * hz / musicRate)) {}
    double next() {
        const double was = s;
        s = s * dc + c * ds;
        c = c * dc - was * ds;
        return was;
    }
};

double hertz(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// The samples of one note: a short attack, then the instrument's own decay, ending at silence.
std::vector<float> play(Instrument instrument, int pitch, std::size_t length) {
    std::vector<float> out(length);
    Oscillator one(hertz(pitch));
    Oscillator detuned(hertz(pitch) * 1.004);
    std::minstd_rand random(static_cast<unsigned>(pitch) + 1);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    double noise = 0.0, phase = 0.0, decay = 1.0;
    const double seconds = static_cast<double>(length) / musicRate;
    const double halfLife[] = {0.0, 0.35, 0.45, 0.05, 0.04, 0.012};
    const double fall = halfLife[int(instrument)] > 0
                            ? std::exp2(-1.0 / (halfLife[int(instrument)] * musicRate))
                            : 1.0;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / musicRate;
        const double c = one.c;
        const double s = one.next();
        double x = 0.0;
        switch (instrument) {
        case Instrument::pad: // a slow swell and fall of two slightly detuned sines
            x = (s + 0.6 * detuned.next()) * std::min({1.0, t / 0.4, (seconds - t) / 0.8});
            break;
        case Instrument::pluck: // the fundamental and its next two harmonics
            x = s * (1.0 + 0.8 * c + 0.15 * (3.0 - 4.0 * s * s));
            break;
        case Instrument::bass:
            x = s * (1.0 + 0.6 * c);
            break;
        case Instrument::kick: // a sine falling from 120 to 45 Hz
            phase += 2 * pi * (45.0 + 75.0 * std::exp(-t / 0.03)) / musicRate;
            x = std::sin(phase);
            break;
        case Instrument::snare: // low-passed noise over a 180 Hz thump
            noise += 0.5 * (white(random) - noise);
            x = 1.6 * noise + 0.5 * std::sin(2 * pi * 180.0 * t);
            break;
        case Instrument::hat: // high-passed noise
            noise += 0.5 * (white(random) - noise);
            x = white(random) - noise;
            break;
        }
        decay *= fall;
        out[i] = static_cast<float>(x * decay * std::min(1.0, t / 0.005) * (1.0 - t / seconds));
    }
    return out;
}

// The lobby: C major at 84 beats a minute, Cmaj7 Am7 Fmaj7 G6 two bars each, pads under an
// arpeggio in eighths and a bass in halves, all below C5.
std::vector<Note> lobbyNotes() {
    const int chords[4][4] = {
        {48, 52, 55, 59}, {45, 48, 52, 55}, {41, 45, 48, 52}, {43, 47, 50, 52}};
    const int arpeggio[16] = {0, 1, 2, 3, 2, 1, 2, 1, 0, 1, 2, 3, 2, 3, 1, 2};
    std::vector<Note> notes;
    for (int c = 0; c < 4; ++c) {
        const double start = c * 8.0;
        for (const int pitch : chords[c]) {
            notes.push_back({Instrument::pad, pitch, start, 8.0, 0.22});
        }
        for (int half = 0; half < 4; ++half) {
            notes.push_back({Instrument::bass, chords[c][0] - 12, start + 2 * half, 2.0, 0.5});
        }
        for (int i = 0; i < 16; ++i) {
            notes.push_back(
                {Instrument::pluck, chords[c][arpeggio[i]] + 12, start + 0.5 * i, 1.5, 0.3});
        }
    }
    return notes;
}

// The match: A minor at 126 beats a minute, Am F C G a bar each, three times: a kick on every
// beat, a snare on two and four, hats between, a bass in eighths and an arpeggio over it, with
// pads joining the third time round.
std::vector<Note> matchNotes() {
    const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};
    const int roots[4] = {45, 41, 48, 43};
    const int bass[8] = {0, 0, 12, 0, 0, 12, 0, 7};
    const int arpeggio[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    std::vector<Note> notes;
    for (int bar = 0; bar < 12; ++bar) {
        const int c = bar % 4;
        const double start = bar * 4.0;
        for (int beat = 0; beat < 4; ++beat) {
            notes.push_back({Instrument::kick, 0, start + beat, 0.4, 0.45});
            notes.push_back({Instrument::hat, 0, start + beat + 0.5, 0.2, 0.18});
            if (beat % 2 == 1) {
                notes.push_back({Instrument::snare, 0, start + beat, 0.35, 0.18});
            }
        }
        for (int i = 0; i < 8; ++i) {
            notes.push_back(
                {Instrument::bass, roots[c] - 12 + bass[i], start + 0.5 * i, 0.5, 0.45});
            notes.push_back(
                {Instrument::pluck, chords[c][arpeggio[i]], start + 0.5 * i, 0.75, 0.22});
        }
        for (int pitch = bar >= 8 ? 0 : 3; pitch < 3; ++pitch) {
            notes.push_back({Instrument::pad, chords[c][pitch] - 12, start, 4.0, 0.16});
        }
    }
    return notes;
}

} // namespace

std::vector<sf::Int16> composeMusic(Music music) {
    if (music == Music::silence) {
        return {};
    }
    const bool lobby = music == Music::lobby;
    // A beat in samples, a whole number so that every note starts on a sample, and the loop's
    // beats: 8 bars of four.
    const double beat = musicRate * 60.0 / (lobby ? 84 : 126);
    const std::size_t length = static_cast<std::size_t>(beat) * (lobby ? 32 : 48);
    std::vector<float> mix(length, 0.0f);
    std::map<std::tuple<Instrument, int, std::size_t>, std::vector<float>> made;
    for (const Note& note : lobby ? lobbyNotes() : matchNotes()) {
        const auto samples = static_cast<std::size_t>(note.beats * beat);
        auto found = made.find({note.instrument, note.pitch, samples});
        if (found == made.end()) {
            found = made.emplace(std::tuple(note.instrument, note.pitch, samples),
                                 play(note.instrument, note.pitch, samples))
                        .first;
        }
        const auto level = static_cast<float>(note.level);
        auto at = static_cast<std::size_t>(note.beat * beat) % length;
        for (const float x : found->second) {
            mix[at] += level * x;
            at = at + 1 == length ? 0 : at + 1;
        }
    }
    // Some 10 dB (lobby) or 8 dB (match) under the effects' RMS level, about -19 dBFS, and
    // never above 0.23 of full scale: three jumps a frame apart over it still don't clip.
    double energy = 0.0;
    float peak = 0.0f;
    for (const float x : mix) {
        energy += double(x) * x;
        peak = std::max(peak, std::fabs(x));
    }
    const double rms = std::sqrt(energy / static_cast<double>(length));
    const double gain = 32767 * std::min((lobby ? 0.035 : 0.044) / rms, 0.23 / peak);
    std::vector<sf::Int16> samples(length);
    // Rounded half away from zero, without a call per sample.
    std::transform(mix.begin(), mix.end(), samples.begin(), [gain](float x) {
        return static_cast<sf::Int16>(x * gain + (x < 0 ? -0.5 : 0.5));
    });
    return samples;
}
