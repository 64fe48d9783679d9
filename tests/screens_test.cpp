// What the screens show, read back from the window: every prompt and the invitation inside
// the screen at common sizes, and a match frame's layers in the colours of day and night.
#include "support.hpp"

class Screens : public GameTest {};

TEST_F(Screens, EveryPromptAndTheInvitationLieCentredInsideTheMarginsAtFullSizeWhereTheyFit) {
    auto check = [](const sf::Text& text) {
        const float natural = sf::Text(text.getString(), uiFont, 100).getLocalBounds().width;
        const sf::FloatRect shown = text.getGlobalBounds();
        const float right = shown.left + shown.width;
        EXPECT_TRUE(shown.left >= 16 && right <= screenWidth - 16) << shown.left << " to " << right;
        EXPECT_FLOAT_EQ(shown.width, std::min(natural, screenWidth - 32.0f));
        EXPECT_NEAR(shown.left + right, screenWidth, 1) << "centred";
    };
    for (const sf::Vector2u size : {sf::Vector2u(1280, 720), {1366, 768}, {1920, 1080}}) {
        openWindow(size);
        // Each control asked for, before and after its first press, in both joins.
        for (int step = 0; step < 8; ++step) {
            bindingStep = step % 4;
            awaitingConfirm = step >= 4;
            showKeyboardPrompt();
            check(promptText);
            showJoystickPrompt();
            check(promptText);
        }
        bindingStep = 0;
        awaitingConfirm = false;
        setupLobby();
        std::srand(1);
        EXPECT_EQ(lobbyText.getString(), "Click on a button ...");
        check(lobbyText);
    }
}

class MatchFrame : public MatchTest {};

TEST_F(MatchFrame, GroundEntitiesLivingDinosaursAndScoreInTheColoursOfTheTick) {
    // Plain squares for the run frames, the cactus (green) and the coin (blue), and a green
    // ground tile whose last column is red, so that tiles side by side show it every 64 pixels.
    dinoLeftPath = savedImage(solidImage(20, 20, sf::Color::White));
    dinoRightPath = savedImage(solidImage(40, 40, sf::Color::White));
    cactus0Path = savedImage(solidImage(10, 10, sf::Color::Green));
    coinPath = savedImage(solidImage(10, 10, sf::Color::Blue));
    sf::Image tile = solidImage(64, 40, sf::Color::Green);
    for (unsigned int y = 0; y < 40; ++y) {
        tile.setPixel(63, y, sf::Color::Red);
    }
    groundPath = savedImage(tile);
    addPlayer("WSAD");
    setupMatch();
    players[0].alive = false;
    place(1, 200, floorY);
    score = 41.0;
    // Entities one pixel right of where this tick's scroll leaves them: a cactus, a coin, a
    // taken coin, and a coin over the cactus.
    addEntity("cactus0", 402, 0);
    addEntity("coin", 422, 300);
    addEntity("coin", 702, 300);
    addEntity("coin", 422, floorY);
    entities[2].taken = true;
    sf::Image frame;
    beforePresent = [&frame] { frame = grabWindow(); };
    Clock clock;
    runTick(clock);
    // Player 1 by day (dead player 0 isn't drawn) on the first run frame; the background; ten
    // ground tiles from -1.001: the tenth one's red column at 638, none red 9 pixels before.
    // Then the cactus scaled 3 on the floor (728), not above; the coin scaled 4, its bottom-left
    // corner at its y, not above; not the taken coin; the later coin over the cactus.
    // clang-format off
    auto seen = [&frame] {
        return colours(frame, {{210, 718}, {40, 718}, {230, 698}, {600, 300}, {638, 767},
                               {629, 767}, {405, 700}, {405, 696}, {457, 262}, {425, 255},
                               {705, 290}, {425, 726}});
    };
    // clang-format on
    EXPECT_EQ(seen(), "rwwwrggwbwwb");
    // The score at 100 pixels from the right, at size 24, in the ink of the day.
    EXPECT_EQ(scoreText.getString(), "41");
    EXPECT_EQ(scoreText.getPosition(), sf::Vector2f(924, 10));
    EXPECT_TRUE(scoreText.getCharacterSize() == 24 && scoreText.getFillColor() == sf::Color::Black);
    // Night falls at once for the players, after the frame was cleared by day.
    score = 1000.0;
    runTick(clock);
    EXPECT_EQ(seen().substr(0, 4), "cwww");
    EXPECT_EQ(scoreText.getFillColor(), sf::Color::White);
    runTick(clock);
    EXPECT_EQ(seen()[3], 'k');
    // A new match keeps the night until its first tick, which clears in it and brings day
    // and the first run frame; the second shows from tick 12.
    setupMatch();
    players[1].x = 200;
    runTick(clock);
    EXPECT_EQ(seen().substr(0, 6), "rkkkrg");
    for (int i = 0; i < 11; ++i) {
        runTick(clock);
    }
    EXPECT_EQ(seen().substr(0, 3), "rwr");
}
