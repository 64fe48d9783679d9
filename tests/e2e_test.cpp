// The real game on its own X server, played with real key presses.
#include "e2e_harness.hpp"

#include <gtest/gtest.h>

namespace {

// Counts the pixels of a square around a point that satisfy a test.
int countAround(const sf::Image& image, unsigned int cx, unsigned int cy, int radius,
                const std::function<bool(sf::Color)>& test) {
    int count = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (test(image.getPixel(cx + dx, cy + dy))) {
                ++count;
            }
        }
    }
    return count;
}

bool isWhite(sf::Color c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}
bool isNotWhite(sf::Color c) {
    return !isWhite(c);
}
// The ready mark's tick is green; no player colour of a small roster is.
bool isMarkGreen(sf::Color c) {
    return c.g > 120 && c.r < 100 && c.b < 100;
}

// A predicate that holds when the screen shows the game's centred text.
std::function<bool(const sf::Image&)> showsText(const std::string& text, unsigned int w,
                                                unsigned int h) {
    const sf::Image expected = expectedCentredText(text, w, h);
    return [expected](const sf::Image& shot) { return darkMismatch(shot, expected) < 0.02; };
}

struct ScreenSize {
    unsigned int w;
    unsigned int h;
};

class EndToEnd : public ::testing::TestWithParam<ScreenSize> {};

// The game started on a private X server of its own size.
struct RunningGame {
    RunningGame(unsigned int width, unsigned int height)
        : w(width), h(height), server(width, height), game(server.name()) {}
    const std::string& display() const { return server.name(); }
    unsigned int w;
    unsigned int h;
    XServer server;
    GameProcess game;
};

// Waits for the game's first screen, the invitation.
void awaitInvitation(RunningGame& run) {
    ASSERT_TRUE(run.server.running());
    ASSERT_TRUE(
        waitForScreen(run.display(), 20.0, showsText("Click on a button ...", run.w, run.h)))
        << "the invitation never showed; stderr: " << run.game.errorOutput();
}

} // namespace

TEST_P(EndToEnd, APlayerJoinsByTeachingFourKeysAndEscapeQuits) {
    const unsigned int w = GetParam().w;
    const unsigned int h = GetParam().h;
    RunningGame run(w, h);
    ASSERT_NO_FATAL_FAILURE(awaitInvitation(run));
    const std::string& display = run.display();
    GameProcess& game = run.game;

    // The first J only starts the join.
    ASSERT_TRUE(pressKeys(display, {"j"}));
    ASSERT_TRUE(waitForScreen(display, 10.0, showsText("Press the jump key", w, h)));
    ASSERT_TRUE(pressKeys(display, {"j"}));
    ASSERT_TRUE(waitForScreen(display, 10.0, showsText("Press the key again to confirm", w, h)));
    ASSERT_TRUE(pressKeys(display, {"j"}));
    ASSERT_TRUE(waitForScreen(display, 10.0, showsText("Press the down key", w, h)));
    ASSERT_TRUE(pressKeys(display, {"k", "k"}));
    ASSERT_TRUE(waitForScreen(display, 10.0, showsText("Press the left key", w, h)));
    ASSERT_TRUE(pressKeys(display, {"h", "h"}));
    ASSERT_TRUE(waitForScreen(display, 10.0, showsText("Press the right key", w, h)));
    ASSERT_TRUE(pressKeys(display, {"l", "l"}));

    // Player 0's figure stands black in the middle of the white lobby.
    const unsigned int cx = w / 2;
    const unsigned int cy = h / 2;
    sf::Image shot;
    ASSERT_TRUE(waitForScreen(
        display, 10.0,
        [&](const sf::Image& image) {
            return countAround(image, cx, cy, 50,
                               [](sf::Color c) { return c.r < 60 && c.g < 60 && c.b < 60; }) > 1000;
        },
        &shot))
        << "no figure in the lobby";
    EXPECT_EQ(countAround(shot, cx, cy, 50, isMarkGreen), 0) << "not ready yet";
    EXPECT_TRUE(isWhite(shot.getPixel(cx, cy - 100)));
    EXPECT_TRUE(isWhite(shot.getPixel(cx - 100, cy)));

    ASSERT_TRUE(pressKeys(display, {"Escape"}));
    EXPECT_EQ(game.waitForExit(10.0), 0);
    EXPECT_EQ(game.errorOutput().find("Error"), std::string::npos) << game.errorOutput();
}

TEST_P(EndToEnd, TwoPlayersShowInTheirColoursAndMarkThemselvesReady) {
    const unsigned int w = GetParam().w;
    const unsigned int h = GetParam().h;
    RunningGame run(w, h);
    ASSERT_NO_FATAL_FAILURE(awaitInvitation(run));
    const std::string& display = run.display();
    GameProcess& game = run.game;

    ASSERT_TRUE(pressKeys(display, {"w", "w", "w", "s", "s", "a", "a", "d", "d"}));
    ASSERT_TRUE(pressKeys(display, {"Up", "Up", "Up", "Down", "Down", "Left", "Left"}));
    ASSERT_TRUE(waitForScreen(display, 10.0, showsText("Press the right key", w, h)));
    // Escape abandons the second join only.
    ASSERT_TRUE(pressKeys(display, {"Escape"}));
    ASSERT_TRUE(pressKeys(display, {"i", "i", "i", "k", "k", "j", "j", "l", "l"}));

    const unsigned int y = h / 2;
    const unsigned int left = w / 3;
    const unsigned int right = 2 * w / 3;
    auto red = [](sf::Color c) { return c.r > 200 && c.g < 60 && c.b < 60; };
    auto black = [](sf::Color c) { return c.r < 60 && c.g < 60 && c.b < 60; };
    sf::Image shot;
    EXPECT_TRUE(waitForScreen(
        display, 10.0,
        [&](const sf::Image& image) {
            return countAround(image, left, y, 50, black) > 1000 &&
                   countAround(image, right, y, 50, red) > 1000;
        },
        &shot))
        << "player 0 black at a third, player 1 red at two thirds";
    EXPECT_EQ(countAround(shot, w / 2, y, 30, isNotWhite), 0) << "only two figures";

    // Jump marks player 0 ready; while player 1 is not, the mark stays. Down takes it back.
    ASSERT_TRUE(pressKeys(display, {"w"}));
    EXPECT_TRUE(waitForScreen(
        display, 10.0,
        [&](const sf::Image& image) {
            return countAround(image, left, y, 40, isMarkGreen) > 30 &&
                   countAround(image, right, y, 40, isMarkGreen) == 0;
        },
        &shot))
        << "no ready mark over player 0";
    ASSERT_TRUE(pressKeys(display, {"s"}));
    EXPECT_TRUE(waitForScreen(display, 10.0, [&](const sf::Image& image) {
        return countAround(image, left, y, 40, isMarkGreen) == 0;
    })) << "the mark stayed";

    ASSERT_TRUE(game.running());
    ASSERT_TRUE(pressKeys(display, {"Escape"}));
    EXPECT_EQ(game.waitForExit(10.0), 0);
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, EndToEnd,
                         ::testing::Values(ScreenSize{1280, 720}, ScreenSize{1024, 768}),
                         [](const ::testing::TestParamInfo<ScreenSize>& size) {
                             return std::to_string(size.param.w) + "x" +
                                    std::to_string(size.param.h);
                         });

TEST(EndToEndClose, TheCloseRequestDuringAJoinEndsTheGameWithStatusZero) {
    RunningGame run(1024, 768);
    ASSERT_NO_FATAL_FAILURE(awaitInvitation(run));
    const std::string& display = run.display();
    ASSERT_TRUE(pressKeys(display, {"j", "j", "j", "k"}));
    ASSERT_TRUE(
        waitForScreen(display, 10.0, showsText("Press the key again to confirm", 1024, 768)));
    ASSERT_TRUE(requestClose(display));
    EXPECT_EQ(run.game.waitForExit(10.0), 0);
}

TEST(EndToEndStart, WithoutAUsableDisplayTheGameSaysSoAndEndsWithStatusOne) {
    auto expectOneLine = [](GameProcess& game, const std::string& words) {
        EXPECT_EQ(game.waitForExit(10.0), 1);
        const std::string said = game.errorOutput();
        EXPECT_NE(said.find(words), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    };
    GameProcess noDisplay("");
    expectOneLine(noDisplay, "DISPLAY is not set");

    GameProcess deadDisplay(":4321");
    expectOneLine(deadDisplay, "cannot open the X display \":4321\"");

    // The library crashes on a display without OpenGL; the game must not.
    XServer withoutGl(640, 480, {"-extension", "GLX"});
    ASSERT_TRUE(withoutGl.running());
    GameProcess noOpenGl(withoutGl.name());
    expectOneLine(noOpenGl, "no OpenGL (GLX) on the X display");
}
