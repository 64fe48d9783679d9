// The platform's music over SFML's audio module: each loop a buffer that the library loops by
// itself, sample for sample, so that no busy moment of the machine can leave a gap in it; and a
// thread of its own that fades the loops in and out and sets their pace as the game last asked.
#include "core/sound/sfmlmusic.hpp"
#include "core/platform.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>
#include <SFML/System/Thread.hpp>

#include <algorithm>
#include <atomic>

namespace {

// A loop fades in from silence, or out to it, in this time.
constexpr float fadeSeconds = 0.25f;

struct Loops {
    sf::SoundBuffer buffers[musicCount];
    sf::Sound sounds[musicCount];
    // The loop asked for, each loop's pace, and whether the fader goes on: set by the game,
    // read by the fader.
    std::atomic<int> wanted{0};
    std::atomic<float> paces[musicCount] = {1.0f, 1.0f, 1.0f};
    std::atomic<bool> fading{true};
    sf::Thread fader{&Loops::fade, this};

    // The fader ends before the sounds it plays go.
    ~Loops() {
        fading = false;
        fader.wait();
    }

    // Every 10 ms, brings each loop's volume closer to full (the loop asked for) or to nothing
    // (the others), by the time that passed; a loop that comes back starts from its beginning.
    void fade() {
        sf::Clock clock;
        while (fading) {
            sf::sleep(sf::milliseconds(10));
            const float step = 100.0f * clock.restart().asSeconds() / fadeSeconds;
            for (int m = 1; m < musicCount; ++m) {
                sf::Sound& sound = sounds[m];
                const float volume =
                    std::clamp(sound.getVolume() + (m == wanted ? step : -step), 0.0f, 100.0f);
                const bool playing = sound.getStatus() == sf::Sound::Playing;
                sound.setVolume(volume);
                sound.setPitch(paces[m]);
                if (volume > 0.0f && !playing) {
                    sound.play();
                } else if (volume == 0.0f && playing) {
                    sound.stop();
                }
            }
        }
    }
};

// The loops, once the device is open and the music on; null otherwise.
Loops* loops = nullptr;

} // namespace

void openMusic() {
    // Kept until the process ends, like the effects' voices, and ended before them.
    static Loops made;
    for (int m = 1; m < musicCount; ++m) {
        const std::vector<sf::Int16> samples = composeMusic(static_cast<Music>(m));
        made.buffers[m].loadFromSamples(samples.data(), samples.size(), 1, musicRate);
        made.sounds[m].setBuffer(made.buffers[m]);
        made.sounds[m].setLoop(true);
        made.sounds[m].setVolume(0.0f);
    }
    made.fader.launch();
    loops = &made;
}

void playLoop(Music music, float pace) {
    if (loops != nullptr) {
        loops->paces[static_cast<int>(music)] = pace;
        loops->wanted = static_cast<int>(music);
    }
}
