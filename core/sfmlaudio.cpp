// The platform's sound over SFML's audio module: one buffer and a few voices per effect, made
// before play starts.
#include "core/platform.hpp"
#include "core/system.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Err.hpp>

#include <iostream>
#include <sstream>

namespace {

// The effects' sounds and their voices. Kept until the process ends, when their destruction
// closes the audio device, so that whatever records the output gets a complete file.
struct Mixer {
    sf::SoundBuffer buffers[soundCount];
    sf::Sound voices[soundCount][voicesPerSound];
};

// The mixer, once openAudio has made it and a device opened; null otherwise.
Mixer* mixer = nullptr;

// Makes the mixer. The library opens the device with the first buffer.
Mixer& makeMixer() {
    static Mixer made;
    for (int s = 0; s < soundCount; ++s) {
        const std::vector<sf::Int16> samples = synthesize(static_cast<Sound>(s));
        made.buffers[s].loadFromSamples(samples.data(), samples.size(), 1, soundRate);
        for (sf::Sound& voice : made.voices[s]) {
            voice.setBuffer(made.buffers[s]);
        }
    }
    return made;
}

} // namespace

void openAudio() {
    // The library reports a device that won't open only on its error stream, which the game
    // otherwise silences: listen to it while the mixer is made.
    std::ostringstream said;
    std::streambuf* const before = sf::err().rdbuf(said.rdbuf());
    static Mixer* made = nullptr;
    runQuietly([] { made = &makeMixer(); });
    sf::err().rdbuf(before);
    if (!said.str().empty()) {
        std::cerr << "twinrun: no audio device, playing without sound" << std::endl;
        return;
    }
    mixer = made;
}

void startVoice(Sound sound, int voice) {
    if (mixer != nullptr) {
        // Playing a voice that plays starts it again from the beginning.
        mixer->voices[static_cast<int>(sound)][voice].play();
    }
}
