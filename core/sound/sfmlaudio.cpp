// The platform's sound over SFML's audio module: one buffer and a few voices per effect, made
// before play starts.
#include "core/platform.hpp"
#include "core/sound/sfmlmusic.hpp"
#include "core/system.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Err.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <sstream>

namespace {

// The effects' sounds and their voices. Kept until the process ends, when their destruction
// closes the audio device, so that whatever records the output gets a complete file.
struct Mixer {
    sf::SoundBuffer buffers[soundCount];
    sf::Sound voices[soundCount][voicesPerSound];
};

// The mixer, made at the first call: the library opens the device with the first buffer, which
// must not happen before openAudio (nor at all with --mute).
Mixer& theMixer() {
    static Mixer made;
    return made;
}

// The mixer, once openAudio has filled it and a device opened; null otherwise.
Mixer* mixer = nullptr;

void fillMixer() {
    Mixer& made = theMixer();
    for (int s = 0; s < soundCount; ++s) {
        const std::vector<sf::Int16> samples = synthesize(static_cast<Sound>(s));
        made.buffers[s].loadFromSamples(samples.data(), samples.size(), 1, soundRate);
        for (sf::Sound& voice : made.voices[s]) {
            voice.setBuffer(made.buffers[s]);
        }
    }
}

// Runs work with the process's standard error sent to the null device: the sound libraries
// report there every device they fail to open, which would bury the game's one line about it.
void runQuietly(void (*work)()) {
    std::cerr.flush();
    std::fflush(stderr);
    const int error = fileno(stderr);
    const int saved = dup(error);
    const int nowhere = open(nullDevice, O_WRONLY);
    const bool redirected = saved >= 0 && nowhere >= 0 && dup2(nowhere, error) >= 0;
    work();
    std::fflush(stderr);
    if (redirected) {
        dup2(saved, error);
    }
    for (const int fd : {saved, nowhere}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

} // namespace

void openAudio() {
    // The library reports a device that won't open only on its error stream, which the game
    // otherwise silences: listen to it while the mixer is filled.
    std::ostringstream said;
    std::streambuf* const before = sf::err().rdbuf(said.rdbuf());
    runQuietly(fillMixer);
    sf::err().rdbuf(before);
    if (!said.str().empty()) {
        std::cerr << "twinrun: no audio device, playing without sound" << std::endl;
        return;
    }
    mixer = &theMixer();
    if (!musicOff) {
        openMusic();
    }
}

void startVoice(Sound sound, int voice) {
    if (mixer != nullptr) {
        // Playing a voice that plays starts it again from the beginning.
        mixer->voices[static_cast<int>(sound)][voice].play();
    }
}
