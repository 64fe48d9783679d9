// Sound: which moment of play asks for which effect, the voices' limit, the match loop's pace,
// and what the effects and the loops are made of. Which loop plays when, and the switches for
// the music and for all sound, are in lobby_test.cpp.
#include "support.hpp"

#include "core/sound.hpp"

#include <cmath>
#include <functional>
#include <numeric>

class Sounds : public MatchTest {};

TEST_F(Sounds, EachMomentOfAMatchIsHeardOnceInTheTickItHappensAndADownPressIsSilent) {
    // What happens to the lone player on the floor at x 30 (with a second player, new at the top
    // left, high above anything, where said), and what one tick then plays. Only a jump that
    // starts is heard as one: never a down press. (A lone jump: the sixty jumpers below; the last
    // one out, run off the left edge: the lobby's match.)
    // clang-format off
    const std::tuple<const char*, std::function<void()>, const char*> cases[] = {
        {"a jump asked for in the air", [] { players[0].y -= 50; players[0].jumpPressed = true; }, ""},
        {"a coin", [] { addEntity("coin", 30, 700); }, "coin"},
        {"a hammer", [] { addEntity("hammer", 30, 700); }, "stun"},
        {"a saw with another player left",
         [] { addPlayer("IKJL"); addEntity("saw", 30, 700, 98.4f, 99); }, "out"},
        {"the score reaching 100", [] { score = 99; tickCounter = 2; }, "hundred"},
        {"jump and down", [] { players[0].jumpPressed = players[0].downPressed = true; }, "jump"}};
    // clang-format on
    for (const auto& [what, arrange, expected] : cases) {
        SetUp(); // a fresh match for each
        arrange();
        ticks(1);
        EXPECT_EQ(heard(), expected) << what;
    }
}

TEST_F(Sounds, SixtyJumpersSoundOnOneVoiceAFrameAndTheOldestOfThreeGivesWay) {
    players[0].jumpPressed = true;
    players.assign(60, players[0]);
    playerCount = 60;
    ticks(1);
    // Later requests, each a frame apart, cut the oldest voice short in turn.
    std::string voices;
    for (int i = 0; i < 4; ++i) {
        sleepFor(sf::milliseconds(17));
        playSound(Sound::jump);
    }
    for (const SoundRequest& request : soundRequests) {
        voices += std::to_string(request.voice) + "@" + std::to_string(request.frame) + " ";
    }
    EXPECT_EQ(voices, "0@0 1@1 2@1 0@1 1@1 ");
}

TEST_F(Sounds, TheMatchLoopQuickensWithTheWorldToAFifthFasterAtFourTimesTheFirstSpeed) {
    for (const auto& [speed, pace] : {std::pair{-1.0f, 1.0f}, {-2.5f, 1.1f}, {-9.0f, 1.2f}}) {
        scrollSpeed = speed + 0.001f;
        ticks(1);
        EXPECT_NEAR(musicPace, pace, 1e-4) << speed;
    }
}

TEST(Synthesis, EffectsAreShortEvenClickFreeAndDistinctAndTheLoopsSeamlessUnderThemUnclipped) {
    // Every effect lasts under half a second, peaks below -6 dBFS, starts and ends near silence
    // (else it would click), and lies within 3 dB of the others' RMS level. Its contour: its
    // pitch in each 10 ms of its first half second, in octaves, from the crossings of zero; -1
    // where it is silent (below a twentieth of its loudest sample).
    // Two effects' distance: their contours' difference, in octaves (at most one, which a step
    // where only one sounds counts), averaged over the steps where either sounds. Every two lie
    // at least 0.4 apart (the closest, a join and the match's start, 0.49; a ready mark and its
    // taking back, the same two notes in turn, 0.58).
    std::vector<double> levels;
    std::vector<std::vector<double>> contours(soundCount);
    const std::size_t step = soundRate / 100;
    for (int s = 0; s < soundCount; ++s) {
        const std::vector<sf::Int16> samples = synthesize(Sound(s));
        ASSERT_TRUE(!samples.empty() && samples.size() < soundRate / 2) << s;
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        EXPECT_LE(std::max(-*low, int(*high)), 16422) << s << " peaks above -6 dBFS";
        EXPECT_LT(std::abs(samples.front()) + std::abs(samples.back()), 330) << s;
        const double energy =
            std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
        levels.push_back(10 * std::log10(energy / double(samples.size())));
        for (std::size_t start = 0; start < soundRate / 2; start += step) {
            int crossings = 0, peak = 0;
            for (std::size_t i = start + 1; i < start + step && i < samples.size(); ++i) {
                peak = std::max(peak, std::abs(int(samples[i])));
                crossings += (samples[i] >= 0) != (samples[i - 1] >= 0);
            }
            contours[s].push_back(peak * 20 < *high || !crossings ? -1.0 : std::log2(crossings));
        }
        for (int b = 0; b < s; ++b) {
            double sum = 0;
            int steps = 0;
            for (std::size_t i = 0; i < contours[s].size(); ++i) {
                sum += std::min(1.0, std::fabs(contours[s][i] - contours[b][i]));
                steps += contours[s][i] >= 0 || contours[b][i] >= 0;
            }
            EXPECT_GE(sum / steps, 0.4) << "effects " << s << " and " << b << " sound alike";
        }
    }
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_LE(*loudest - *quietest, 3.0);
    // Each loop lasts over 20 s, comes round from its last sample to its first with no step
    // that stands out, and three jumps a frame (735 samples) apart over its loudest moment don't
    // clip. (How far it sits under the effects: tests/sound.sh.)
    const std::vector<sf::Int16> jump = synthesize(Sound::jump);
    int jumps = 0;
    for (std::size_t t = 0; t + 1470 < jump.size(); ++t) {
        jumps =
            std::max(jumps, std::abs(jump[t]) + std::abs(jump[t + 735]) + std::abs(jump[t + 1470]));
    }
    for (const Music music : {Music::lobby, Music::match}) {
        const std::vector<sf::Int16> loop = composeMusic(music);
        ASSERT_GE(loop.size(), 20 * musicRate);
        int steepest = 0;
        for (std::size_t i = 1; i < loop.size(); ++i) {
            steepest = std::max(steepest, std::abs(loop[i] - loop[i - 1]));
        }
        EXPECT_LE(std::abs(loop.front() - loop.back()) * 10, steepest) << int(music);
        const auto [low, high] = std::minmax_element(loop.begin(), loop.end());
        EXPECT_LE(std::max(-*low, int(*high)) + jumps, 32767) << int(music);
    }
}
