// What the screens show, read back from the window: every prompt and the invitation inside
// the screen at common sizes, and a match frame's layers in the colours of day and night.
#include "support.hpp"

namespace {

// The leftmost and rightmost columns with dark ink, or {-1, -1}.
std::pair<int, int> inkColumns(const sf::Image& image) {
    const sf::Vector2u size = image.getSize();
    const sf::Uint8* pixels = image.getPixelsPtr();
    int first = -1;
    int last = -1;
    for (unsigned int y = 0; y < size.y; ++y) {
        for (unsigned int x = 0; x < size.x; ++x) {
            if (pixels[4 * (y * size.x + x)] < 128) {
                first = first < 0 ? static_cast<int>(x) : std::min(first, static_cast<int>(x));
                last = std::max(last, static_cast<int>(x));
            }
        }
    }
    return {first, last};
}

} // namespace

class Prompts : public GameTest, public testing::WithParamInterface<sf::Vector2u> {
  protected:
    sf::Vector2u screenSize() const override { return GetParam(); }
};

TEST_P(Prompts, EveryPromptAndTheInvitationLieInsideTheMarginsAtFullSizeWhereTheyFit) {
    const int width = screenWidth;
    sf::Image shown;
    beforePresent = [&shown] { shown = grabWindow(); };
    auto check = [width, &shown](const sf::Text& text) {
        const std::string words = text.getString().toAnsiString();
        SCOPED_TRACE(words);
        sf::Text natural(text.getString(), uiFont, 100);
        const float room = static_cast<float>(width - 32);
        const auto [first, last] = inkColumns(shown);
        EXPECT_GE(first, 16);
        EXPECT_LT(last, width - 16);
        EXPECT_GE(static_cast<float>(last - first + 1),
                  0.9f * std::min(natural.getLocalBounds().width, room));
        EXPECT_NEAR(first + last, width, 8) << "centred";
    };
    // Each step of both joins: the control asked for and whether a confirmation is awaited.
    const std::pair<int, bool> steps[] = {{0, false}, {1, false}, {2, false},
                                          {3, false}, {2, true},  {0, true}};
    for (const auto& [step, confirm] : steps) {
        bindingStep = step;
        awaitingConfirm = confirm;
        showKeyboardPrompt();
        check(promptText);
        showJoystickPrompt();
        check(promptText);
    }
    bindingStep = 0;
    awaitingConfirm = false;
    // The lobby with nobody joined shows the invitation alone.
    setupLobby();
    std::srand(1);
    script("|");
    lobbyPass();
    EXPECT_EQ(lobbyText.getString(), "Click on a button ...");
    check(lobbyText);
}

INSTANTIATE_TEST_SUITE_P(Screens, Prompts,
                         testing::Values(sf::Vector2u(1280, 720), sf::Vector2u(1366, 768),
                                         sf::Vector2u(1920, 1080)),
                         [](const testing::TestParamInfo<sf::Vector2u>& size) {
                             return std::to_string(size.param.x) + "x" +
                                    std::to_string(size.param.y);
                         });

class MatchFrame : public MatchTest {};

TEST_F(MatchFrame, GroundEntitiesLivingDinosaursAndScoreInTheColoursOfTheTick) {
    dinoLeftPath = solidImage(20, 20, sf::Color::White);
    dinoRightPath = solidImage(40, 40, sf::Color::White);
    // A green ground tile whose last column is red: tiles side by side show it every 64 pixels.
    sf::Image tile;
    tile.create(64, 40, sf::Color::Green);
    for (unsigned int y = 0; y < 40; ++y) {
        tile.setPixel(63, y, sf::Color::Red);
    }
    groundPath = testing::TempDir() + "twinrun-ground.png";
    ASSERT_TRUE(tile.saveToFile(groundPath));
    addKeyboardPlayer("WSAD");
    setupMatch();
    players[0].alive = false;
    players[1].x = 200;
    players[1].y = floorY;
    score = 41.0;
    sf::Image frame;
    beforePresent = [&frame] { frame = grabWindow(); };
    Clock clock;
    runTick(clock);
    const auto bottom = static_cast<unsigned int>(floorY) - 10;
    EXPECT_EQ(frame.getPixel(210, bottom), sf::Color::Red) << "player 1 by day";
    EXPECT_EQ(frame.getPixel(40, bottom), sf::Color::White) << "a dead player isn't drawn";
    // Ten tiles from -1.001: the tenth one's red column at 638, and nothing red 9 pixels before.
    EXPECT_EQ(frame.getPixel(638, 767), sf::Color::Red) << "the ground, tile by tile";
    EXPECT_EQ(frame.getPixel(629, 767), sf::Color::Green);
    EXPECT_EQ(scoreText.getString(), "41");
    EXPECT_EQ(scoreText.getPosition(), sf::Vector2f(924, 10));
    // The digits in black, as wide as "41" is at size 24.
    int left = 100;
    int right = -1;
    for (int i = 0; i < 100 * 50; ++i) {
        if (frame.getPixel(924 + i % 100, i / 100) != sf::Color::White) {
            left = std::min(left, i % 100);
            right = std::max(right, i % 100);
        }
    }
    EXPECT_NEAR(right - left + 1, sf::Text("41", scoreFont, 24).getLocalBounds().width, 2);

    score = 1000.0;
    runTick(clock);
    EXPECT_EQ(frame.getPixel(210, bottom), sf::Color::Cyan) << "player 1 by night at once";
    EXPECT_EQ(frame.getPixel(600, 300), sf::Color::White) << "cleared before night fell";
    EXPECT_EQ(scoreText.getFillColor(), sf::Color::White);
    runTick(clock);
    EXPECT_EQ(frame.getPixel(600, 300), sf::Color::Black);

    // A new match keeps the night until its first tick, which clears in it and brings day.
    setupMatch();
    players[1].x = 200;
    runTick(clock);
    EXPECT_EQ(frame.getPixel(600, 300), sf::Color::Black);
    EXPECT_EQ(inkColor, sf::Color::Black);
    EXPECT_EQ(frame.getPixel(210, bottom), sf::Color::Red) << "in its day colour";
    EXPECT_EQ(frame.getPixel(230, bottom - 20), sf::Color::Black) << "the first run frame";
    for (int i = 0; i < 11; ++i) {
        runTick(clock);
    }
    EXPECT_EQ(frame.getPixel(230, bottom - 20), sf::Color::Red) << "the second, from tick 12";
}
