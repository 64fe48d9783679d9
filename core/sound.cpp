// Choosing a voice for each effect asked for, and the mute switch.
#include "core/sound.hpp"

#include "core/platform.hpp"

#include <algorithm>

bool soundMuted = false;

namespace {

// A voice that started less than a frame ago is still starting with the others of its frame.
const sf::Time voiceMinimumAge = sf::microseconds(16667);

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
    Voice& voice = voiceToStart(own);
    const sf::Time now = platformTime();
    if (voice.used && now - voice.started < voiceMinimumAge) {
        return;
    }
    voice = Voice{true, now};
    startVoice(sound, static_cast<int>(&voice - own));
}
