// The platform's music over SFML's audio module: one stream whose own thread plays the loops,
// fading from one to the other and pacing each as the game last asked.
#include "core/musicstream.hpp"
#include "core/platform.hpp"

#include <SFML/Audio/SoundStream.hpp>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

// Samples handed to the library at a time, 46 ms: a request is heard within three of them.
constexpr std::size_t chunkSamples = 1024;
// The share of full loudness a loop gains or loses a sample as it fades: 0.25 s from silence.
constexpr double fadeStep = 1.0 / (0.25 * musicRate);

class MusicStream : public sf::SoundStream {
  public:
    MusicStream() {
        for (int m = 0; m < musicCount; ++m) {
            loops[m] = composeMusic(static_cast<Music>(m));
        }
        initialize(1, musicRate);
    }
    // The thread that calls onGetData must end before the members it reads go.
    ~MusicStream() override { stop(); }

    // The loop asked for, and each loop's pace, which the game sets and the stream's thread
    // reads.
    std::atomic<int> wanted{0};
    std::atomic<float> paces[musicCount] = {1.0f, 1.0f, 1.0f};

  private:
    std::vector<sf::Int16> loops[musicCount];
    // Where each loop plays, in its samples, and how loud, 0 to 1.
    double positions[musicCount] = {};
    double gains[musicCount] = {};
    sf::Int16 chunk[chunkSamples] = {};

    bool onGetData(Chunk& data) override {
        const int want = wanted.load();
        std::fill(std::begin(chunk), std::end(chunk), sf::Int16(0));
        for (int m = 0; m < musicCount; ++m) {
            const std::vector<sf::Int16>& loop = loops[m];
            const double pace = paces[m].load();
            double& gain = gains[m];
            double& at = positions[m];
            for (sf::Int16& out : chunk) {
                gain = std::clamp(gain + (m == want ? fadeStep : -fadeStep), 0.0, 1.0);
                if (gain == 0.0 || loop.empty()) {
                    // Silent, the loop starts again from its beginning when it comes back.
                    at = 0.0;
                    continue;
                }
                // Between two samples at a pace above 1, the line from one to the next.
                const auto i = static_cast<std::size_t>(at);
                const double along = at - static_cast<double>(i);
                const double x = loop[i] + along * (loop[(i + 1) % loop.size()] - loop[i]);
                out = static_cast<sf::Int16>(out + std::lround(gain * x));
                at = std::fmod(at + pace, static_cast<double>(loop.size()));
            }
        }
        data.samples = chunk;
        data.sampleCount = chunkSamples;
        return true;
    }
    // The stream is never sought.
    void onSeek(sf::Time) override {}
};

// The stream, once the device is open and the music on; null otherwise.
MusicStream* stream = nullptr;

} // namespace

void openMusicStream() {
    // Kept until the process ends, like the effects' voices, and stopped before them.
    static MusicStream made;
    made.play();
    stream = &made;
}

void playLoop(Music music, float pace) {
    if (stream != nullptr) {
        stream->paces[static_cast<int>(music)] = pace;
        stream->wanted = static_cast<int>(music);
    }
}
