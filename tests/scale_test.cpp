// The whole-pixel scale: k for each desktop and the world it leaves, the command line that
// chooses it, and frames drawn k times as large: images as k × k blocks, the rest of the window
// in the background colour, texts rasterised at the window's resolution.
#include "support.hpp"

#include "app/options.hpp"

TEST(Scale, IsTheLargestKTheDesktopHolds1280x720KTimesOr1To8ByTheCommandLineAbove640x360) {
    // Arguments and desktop, then what is read: h help, m mute, the scale, or "refused". With no
    // --scale, k is the largest whole number (at least 1) for which the desktop holds 1280 × 720
    // k times.
    // clang-format off
    const std::tuple<std::vector<std::string>, sf::Vector2i, const char*> lines[] = {
        {{"--mute"}, {2560, 1440}, "m2"}, {{}, {1024, 768}, "1"}, {{}, {2559, 1440}, "1"},
        {{}, {2560, 1439}, "1"}, {{}, {3839, 2160}, "2"}, {{}, {15360, 8640}, "12"},
        {{"--scale", "1"}, {3840, 2160}, "1"}, {{"--scale=4", "--mute"}, {3840, 2160}, "m4"},
        {{"--scale", "2"}, {1280, 720}, "2"}, {{"--scale", "2"}, {1280, 719}, "refused"},
        {{"--scale", "8"}, {5120, 2880}, "8"}, {{"--scale", "9"}, {15360, 8640}, "refused"},
        {{"--scale", "0"}, {1920, 1080}, "refused"}, {{"--scale", "2x"}, {3840, 2160}, "refused"},
        {{"--mute", "--scale"}, {3840, 2160}, "refused"}, {{"-h"}, {1920, 1080}, "h1"},
        {{"--bogus"}, {1920, 1080}, "refused"}, {{"--help", "--bogus"}, {1920, 1080}, "refused"},
        {{"--phones"}, {1920, 1080}, "p7770:1"}, {{"--phones-port", "0"}, {1920, 1080}, "p0:1"},
        {{"--mute", "--phones-port", "65535"}, {3840, 2160}, "mp65535:3"},
        {{"--phones-port", "65536"}, {1920, 1080}, "refused"},
        {{"--phones-port"}, {1920, 1080}, "refused"}};
    // clang-format on
    for (const auto& [args, desktop, expected] : lines) {
        const Options o = parseOptions(args, desktop.x, desktop.y);
        const std::string read = std::string(o.help ? "h" : "") + (o.mute ? "m" : "") +
                                 (o.phones ? "p" + std::to_string(o.phonesPort) + ":" : "") +
                                 std::to_string(o.scale);
        EXPECT_EQ(o.error.empty() ? read : "refused", expected)
            << testing::PrintToString(args) << " on " << desktop.x << "x" << desktop.y;
    }
    // A refusal names what it refuses.
    EXPECT_NE(parseOptions({"--bogus"}, 1920, 1080).error.find("--bogus"), std::string::npos);
    EXPECT_NE(parseOptions({"--scale", "3"}, 1366, 768).error.find("455x256"), std::string::npos);
}

// A match on a desktop of 1283 × 723 drawn at scale 2: a world of 641 × 361 and a rest of one
// pixel at the right and bottom.
class ScaledMatch : public MatchTest {
  protected:
    sf::Vector2u screenSize() const override { return {1283, 723}; }
    int scale() const override { return 2; }
};

TEST_F(ScaledMatch, EachPixelOfAnImageIsAKByKBlockAndTheRestIsBackground) {
    addEntity("cactus0", 300, 0, 84, 81);
    sf::Image shown;
    beforePresent = [&shown] { shown = grabWindow(); };
    ticks(1);
    // Each world pixel under the score (a text, rasterised at the window's resolution) is a
    // 2 × 2 block of the window: the dinosaur, the cactus, the sky, the ground and its edge.
    int broken = 0;
    for (unsigned int y = 100; y < 722; ++y) {
        for (unsigned int x = 0; x < 1282; ++x) {
            broken += shown.getPixel(x, y) != shown.getPixel(x - x % 2, y - y % 2);
        }
    }
    EXPECT_EQ(broken, 0);
    // The world's last row and column are the ground's; the rest beyond them is the day's white.
    EXPECT_EQ(colours(shown, {{100, 721}, {1281, 721}, {100, 722}, {1282, 721}, {1282, 722}}),
              "??www");
}

TEST(ScaledLobby, TextsAreRasterisedAtTheWindowsResolution) {
    // The invitation at scale 2, on a desktop of 1600 × 900 (a world of 800 × 450), is the
    // invitation of twice its size drawn at scale 1.
    const auto drawn = [](const sf::Text& text) {
        window.clear(sf::Color::White);
        window.draw(text);
        return grabWindow();
    };
    openWindow({1600, 900}, 2);
    setupLobby();
    const sf::Image scaled = drawn(lobbyText);
    openWindow({1600, 900}, 1);
    sf::Text large = lobbyText;
    large.setCharacterSize(200);
    centreOnScreen(large);
    const sf::Image expected = drawn(large);
    EXPECT_TRUE(std::equal(scaled.getPixelsPtr(), scaled.getPixelsPtr() + 4 * 1600 * 900,
                           expected.getPixelsPtr()));
}
