// Choosing a voice for each effect asked for, the mute switch, and the music's switch.
#include "core/music.hpp"
#include "core/sound.hpp"

#include "core/platform.hpp"

#include <algorithm>

bool soundMuted = false;
bool musicOff = false;

namespace {

// A voice that started less than half a frame ago is still starting with the requests of its
// frame.
const sf::Time voiceMinimumAge = sf::microseconds(8333);

// One voice of an effect: whether it ever started, and when it last did.
struct Voice {
    bool used = false;
    sf::Time started;
};

// The voices of each effect.
Voice voices[soundCount][voicesPerSound];

// The voice to start: one never used, else the one that started longest ago.
Voice& voiceToStart(Voice* own) {
    return *std::min_element(own, own + voicesPerSound, [](const Voice& a, const Voice& b) {
        return a.used != b.used ? !a.used : a.started < b.started;
    });
}

} // namespace

void resetVoices() {
    std::fill(*voices, *voices + soundCount * voicesPerSound, Voice{});
}

void playSound(Sound sound) {
    if (soundMuted) {
        return;
    }
    Voice* own = voices[static_cast<int>(sound)];
    const sf::Time now = platformTime();
    if (std::any_of(own, own + voicesPerSound, [now](const Voice& v) {
            return v.used && now - v.started < voiceMinimumAge;
        })) {
        return;
    }
    Voice& voice = voiceToStart(own);
    voice = Voice{true, now};
    startVoice(sound, static_cast<int>(&voice - own));
}

void playMusic(Music music, float pace) {
    if (!soundMuted && !musicOff) {
        playLoop(music, pace);
    }
}
