// Sound: which moment of play asks for which effect and how often, the voices' limit, the mute
// switch, the effects' length and loudness; which music plays when, its switch, and its loops.
#include "support.hpp"

#include "app/lobbyloop.hpp"
#include "core/sound.hpp"

#include <cmath>
#include <functional>
#include <numeric>

class Sounds : public MatchTest {};

namespace {

// The player's keys (WSAD) pressed and let go in the words, handled as a match's pass does.
void keys(const std::string& words) {
    script(words + " |");
    handleMatchEvents();
}

} // namespace

TEST_F(Sounds, EachMomentOfAMatchIsHeardOnceInTheTickItHappensAndADownPressIsSilent) {
    // What happens to the lone player on the floor at x 30 (with a second player, who stays
    // on the floor far right, where said), and what one tick then plays. Only a jump that
    // starts is heard as one: never a down press, on the floor or in the air.
    // clang-format off
    const std::tuple<const char*, std::function<void()>, const char*> cases[] = {
        {"a jump from the floor", [] { players[0].jumpPressed = true; }, "jump"},
        {"a jump asked for in the air", [] { players[0].y -= 50; players[0].jumpPressed = true; }, ""},
        {"a jump asked for while stunned", [] { players[0].hitTimer = 5; players[0].jumpPressed = true; }, ""},
        {"a coin", [] { addEntity("coin", 30, 700); }, "coin"},
        {"a hammer", [] { addEntity("hammer", 30, 700); }, "stun"},
        {"a coin and a hammer", [] { addEntity("coin", 30, 700); addEntity("hammer", 60, 700); }, "coin stun"},
        {"a cactus, the last one out", [] { addEntity("cactus0", 30, 0, 84, 81); }, "out over"},
        {"two cacti and a bird at once", [] {
             addEntity("cactus0", 30, 0, 84, 81); addEntity("cactus1", 40, 0, 108, 123);
             addEntity("bird", 30, 700, 74, 46); }, "out over"},
        {"a saw with another player left", [] {
             addPlayer("IKJL"); place(1, 400, floorY); addEntity("saw", 30, 700, 98.4f, 99); }, "out"},
        {"off the left edge", [] { players[0].x = -100; }, "out over"},
        {"the score reaching 100", [] { score = 99; tickCounter = 2; }, "hundred"},
        {"the score reaching 1100", [] { score = 1099; tickCounter = 2; }, "hundred"},
        {"the score reaching 150", [] { score = 149; tickCounter = 2; }, ""},
        {"down on the floor", [] { keys("S"); }, ""}, {"down again", [] { keys("S ~S S"); }, ""},
        {"down in the air", [] { players[0].y -= 80; keys("S"); }, ""},
        {"jump and down", [] { keys("W S"); }, "jump"}, {"both let go", [] { keys("~W ~S"); }, ""},
        {"jump and down in the air", [] { players[0].y -= 80; keys("W S"); }, ""}};
    // clang-format on
    const Player keyboard = players[0];
    for (const auto& [what, arrange, expected] : cases) {
        players.assign(1, keyboard);
        playerCount = 1;
        entities.clear();
        entityCount = 0;
        startScript();
        arrange();
        ticks(1);
        EXPECT_EQ(heard(), expected) << what;
    }
}

TEST_F(Sounds, SixtyJumpersSoundOnOneVoiceAFrameTheOldestGivesWayAndMutedNothingIsAsked) {
    for (int p = 1; p < 60; ++p) {
        addPlayer("IKJL");
    }
    const auto jumpAll = [] {
        for (int p = 0; p < 60; ++p) {
            place(std::size_t(p), 30, floorY).jumpPressed = true;
        }
        ticks(1);
    };
    jumpAll();
    // Later requests, each a frame apart, cut the oldest voice short in turn.
    for (int i = 0; i < 4; ++i) {
        sleepFor(sf::milliseconds(17));
        playSound(Sound::jump);
    }
    std::string voices;
    for (const SoundRequest& request : soundRequests) {
        voices += std::to_string(request.voice) + "@" + std::to_string(request.frame) + " ";
    }
    EXPECT_EQ(voices, "0@0 1@1 2@1 0@1 1@1 ");
    EXPECT_EQ(heard(), "jump jump jump jump jump");
    soundMuted = true;
    sleepFor(sf::seconds(1));
    jumpAll();
    EXPECT_EQ(heard(), "");
}

TEST_F(Sounds, EveryEffectIsShortClickFreeBelowMinusSixDecibelsAndWithinThreeOfTheOthers) {
    std::vector<double> levels;
    for (int s = 0; s < soundCount; ++s) {
        const std::vector<sf::Int16> samples = synthesize(Sound(s));
        ASSERT_TRUE(!samples.empty() && samples.size() < soundRate / 2) << s;
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        EXPECT_LE(std::max(-*low, int(*high)), 16422) << s << " peaks above -6 dBFS";
        // Starting or ending away from silence would click.
        EXPECT_LT(std::abs(samples.front()) + std::abs(samples.back()), 330) << s;
        const double energy =
            std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
        levels.push_back(10 * std::log10(energy / double(samples.size())));
    }
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_LE(*loudest - *quietest, 3.0);
}

namespace {

// The pitch of an effect in each 10 ms of its first half second, in octaves above 1 Hz, from
// the crossings of zero; -1 where it is silent (below a twentieth of the loudest sample).
std::vector<double> pitchContour(const std::vector<sf::Int16>& samples) {
    const int frame = soundRate / 100;
    const int loudest = *std::max_element(samples.begin(), samples.end());
    std::vector<double> contour;
    for (int start = 0; start < int(soundRate / 2); start += frame) {
        int crossings = 0, peak = 0;
        for (int i = start; i < start + frame && i < int(samples.size()); ++i) {
            peak = std::max(peak, std::abs(int(samples[std::size_t(i)])));
            crossings +=
                i > start && (samples[std::size_t(i)] >= 0) != (samples[std::size_t(i) - 1] >= 0);
        }
        contour.push_back(peak * 20 < loudest || crossings == 0 ? -1.0
                                                                : std::log2(crossings * 50.0));
    }
    return contour;
}

} // namespace

TEST(Effects, NoTwoSoundAlikeInPitchOverTime) {
    // The distance of two effects: their difference in pitch over time, in octaves (at most one),
    // averaged over the 10 ms steps in which either sounds; a step where one sounds and the other
    // is silent counts as an octave. Every two effects lie at least 0.4 apart (the closest, a
    // player joining and the match starting, lie 0.49 apart; a ready mark and its taking back,
    // the same two notes in turn, 0.58).
    std::vector<std::vector<double>> contours;
    for (int s = 0; s < soundCount; ++s) {
        contours.push_back(pitchContour(synthesize(Sound(s))));
    }
    for (int a = 0; a < soundCount; ++a) {
        for (int b = a + 1; b < soundCount; ++b) {
            double sum = 0;
            int steps = 0;
            for (std::size_t i = 0; i < contours[a].size(); ++i) {
                const double x = contours[a][i], y = contours[b][i];
                if (x < 0 && y < 0) {
                    continue;
                }
                sum += x < 0 || y < 0 ? 1.0 : std::min(1.0, std::fabs(x - y));
                steps += 1;
            }
            EXPECT_GE(sum / steps, 0.4) << "effects " << a << " and " << b << " sound alike";
        }
    }
}

TEST_F(Sounds, TheMatchLoopQuickensWithTheWorldAndTheLobbyLoopPlaysBeforeAndAfterIt) {
    // The ground's speed at a tick, and the music's pace: a fifth faster at four times the
    // first speed.
    for (const auto& [speed, pace] : {std::pair{-1.0f, 1.0f}, {-2.5f, 1.1f}, {-9.0f, 1.2f}}) {
        scrollSpeed = speed + 0.001f;
        ticks(1);
        EXPECT_NEAR(musicPace, pace, 1e-4) << speed;
    }
    // Ready in the lobby, the player runs out of the match that starts, and is back. With the
    // music off or everything muted, no music is asked for, and only the mute silences effects.
    for (const std::string option : {"", "--no-music", "--mute"}) {
        musicOff = option == "--no-music";
        soundMuted = option == "--mute";
        musicRequests.clear();
        startScript();
        script("W |");
        lobbyPass();
        players[0].speed = -5.0f;
        scriptMatch();
        lobbyPass();
        lobbyPass();
        const std::vector<Music> asked = {Music::lobby, Music::match, Music::lobby};
        EXPECT_EQ(musicRequests, option.empty() ? asked : std::vector<Music>()) << option;
        EXPECT_EQ(heard(), soundMuted ? "" : "ready start out over") << option;
    }
    musicOff = false;
}

TEST(Music, EachLoopLastsOver20sLoopsSmoothlySitsUnderTheEffectsAndThreeJumpsOverItDontClip) {
    const std::vector<sf::Int16> jump = synthesize(Sound::jump);
    const auto power = [](const std::vector<sf::Int16>& s) {
        return std::inner_product(s.begin(), s.end(), s.begin(), 0.0) / double(s.size());
    };
    // The loudest moment of three jumps, each a frame (735 samples) after the one before.
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
        // From the last sample to the first, no step that stands out.
        EXPECT_LE(std::abs(loop.front() - loop.back()) * 10, steepest) << int(music);
        const double below = 10 * std::log10(power(loop) / power(jump));
        EXPECT_TRUE(below > -11 && below < -7.5) << int(music) << ": " << below << " dB";
        const auto [low, high] = std::minmax_element(loop.begin(), loop.end());
        EXPECT_LE(std::max(-*low, int(*high)) + jumps, 32767) << int(music);
    }
}
