// The match: set-up, spawning, scrolling, collisions, motion, the tick and the loop, on a
// 1024 × 768 window with the real images unless a test swaps one.
#include "support.hpp"

#include "match/match.hpp"

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

using sf::Keyboard;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

void addEntity(const char* name, float x, float y, float width = 64.0f, float height = 64.0f) {
    entities.push_back(Entity{name, x, y, width, height, false});
    entityCount += 1;
}

std::string names() {
    std::string all;
    for (const Entity& e : entities) {
        all += e.name + " ";
    }
    return all;
}

void ticks(int n) {
    Clock clock;
    for (int i = 0; i < n; ++i) {
        runTick(clock);
    }
}

} // namespace

class Match : public GameTest {
  protected:
    sf::Vector2u screenSize() const override { return {1024, 768}; }
    void SetUp() override {
        GameTest::SetUp();
        groundPath = "src/ground.png";
        dinoLeftPath = "src/dino_left.png";
        cactus0Path = "src/cactus0.png";
        inkColor = sf::Color::Black;
        backgroundColor = sf::Color::White;
        addKeyboardPlayer(Keyboard::Up, Keyboard::Down, Keyboard::Left, Keyboard::Right);
        setupMatch();
        matchRunning = true;
    }
    void TearDown() override {
        entities.clear();
        entityCount = 0;
        GameTest::TearDown();
    }
    // Player 0, standing on the floor as after its first tick.
    Player& standing(float x = 30.0f) {
        players[0].x = x;
        players[0].y = floorY;
        return players[0];
    }
};

TEST_F(Match, AChangedImageShowsAtTheNextMatchAndAMissingOneIsReportedAtEachStart) {
    const std::string path = ::testing::TempDir() + "twinrun-ground-" + std::to_string(getpid());
    const auto writeGround = [](const std::string& to, unsigned int width, sf::Color color) {
        sf::Image image;
        image.create(width, 30, color);
        ASSERT_TRUE(image.saveToFile(to + ".png"));
    };
    const auto groundColor = [] { return groundTexture.copyToImage().getPixel(0, 0); };
    groundPath = path + ".png";
    writeGround(path, 50, sf::Color::Red);
    setupMatch();
    EXPECT_EQ(groundColor(), sf::Color::Red);

    writeGround(path, 60, sf::Color::Blue);
    setupMatch();
    EXPECT_EQ(groundColor(), sf::Color::Blue) << "rewritten in place";
    EXPECT_EQ(groundTileWidth, 60.0f);

    writeGround(path + "-new", 60, sf::Color::Green);
    ASSERT_EQ(std::rename((path + "-new.png").c_str(), groundPath.c_str()), 0);
    setupMatch();
    EXPECT_EQ(groundColor(), sf::Color::Green) << "replaced by a file of the same size";

    std::remove(groundPath.c_str());
    CaptureStderr();
    setupMatch();
    setupMatch();
    EXPECT_EQ(GetCapturedStderr(), "Error  : load texture " + groundPath + "\n" +
                                       "Error  : load texture " + groundPath + "\n");
    EXPECT_EQ(groundColor(), sf::Color::Green) << "the last image stays";
}

TEST_F(Match, RandomDrawsCoverTheirWholeRangeEitherWayRound) {
    float low = 10.0f;
    float high = 0.0f;
    int ones = 0;
    for (int i = 0; i < 20000; ++i) {
        const float r = randomBetween(8.0f, 5.0f);
        low = std::min(low, r);
        high = std::max(high, r);
        ones += static_cast<int>(randomBit());
    }
    EXPECT_TRUE(low >= 5.0f && low < 5.01f) << low;
    EXPECT_TRUE(high <= 8.0f && high > 7.99f) << high;
    EXPECT_NEAR(ones, 10000, 500);
}

TEST_F(Match, SpawnersFireOnTheirDelaysEachWithACloud) {
    nextCactusKind = 1;
    cactusDelay = pickupDelay = flyerDelay = 0.0f;
    CaptureStderr();
    spawnCactus();
    spawnPickup();
    spawnFlyer();
    EXPECT_EQ(GetCapturedStderr(), "test\n");
    ASSERT_EQ(entityCount, 6);
    ASSERT_EQ(entities.size(), 6u);
    const std::string kinds = names();
    EXPECT_TRUE(kinds == "cactus1 cloud coin cloud bird cloud " ||
                kinds == "cactus1 cloud coin cloud saw cloud " ||
                kinds == "cactus1 cloud hammer cloud bird cloud " ||
                kinds == "cactus1 cloud hammer cloud saw cloud ")
        << kinds;
    for (const Entity& e : entities) {
        EXPECT_EQ(e.x, spawnX);
        const float low = e.name == "cloud" ? cloudYFrom : e.name == "cactus1" ? 0 : airYFrom;
        EXPECT_TRUE(e.y >= low && e.y <= floorY) << e.name << " " << e.y;
    }
}

TEST_F(Match, ScrollingMovesEachEntityOnceAndRemovesTheGoneAndTheTaken) {
    cactus0Path = solidImage(10, 10, sf::Color::Green);
    setupMatch();
    addEntity("cloud", -99.5f, 300.0f);
    addEntity("bird", -99.5f, 300.0f);
    addEntity("cactus0", -99.0f, 0.0f);
    addEntity("coin", 500.0f, 300.0f);
    entities.back().taken = true;
    addEntity("cactus0", 400.0f, 0.0f);
    window.clear(sf::Color::White);
    scrollEntities();
    ASSERT_EQ(names(), "cactus0 cactus0 ");
    EXPECT_EQ(entityCount, 2);
    EXPECT_EQ(entities[0].x, -100.0f) << "-100 itself stays";
    EXPECT_EQ(entities[1].x, 399.0f);
    const sf::Image frame = grabWindow();
    EXPECT_EQ(frame.getPixel(428, 698), sf::Color::Green) << "a cactus on the floor, scaled 3";
    EXPECT_EQ(frame.getPixel(520, 280), sf::Color::White) << "a taken coin is not drawn";
}

TEST_F(Match, CloudsCatchFallingPlayersAndHoldThemAgainstDown) {
    addEntity("cloud", 0.0f, 600.0f, 112.0f, 222.0f);
    // Falling 5 pixels a tick from any height, a player lands from 591 (exclusive) to 596.
    for (int start = 0; start < 5; ++start) {
        Player& p = standing();
        p.y = 400.0f + static_cast<float>(start);
        p.onPlatform = false;
        for (int i = 0; i < 60; ++i) {
            movePlayers();
        }
        EXPECT_TRUE(p.onPlatform && p.y > 591.0f && p.y <= 596.0f) << p.y;
    }
    const float held = players[0].y;
    players[0].downPressed = true;
    movePlayers();
    EXPECT_EQ(players[0].y, held);
    entities[0].x = 600.0f;
    movePlayers();
    EXPECT_FALSE(players[0].onPlatform);
    EXPECT_EQ(players[0].y, held + 30.0f) << "once no cloud is under it, down drops 25 and 5";
}

TEST_F(Match, HarmDependsOnReachDepthAndOverlap) {
    // A bird high up never touches anyone, wherever the player is.
    addEntity("bird", 30.0f, 200.0f, 74.0f, 46.0f);
    for (float y = 100.0f; y <= floorY; y += 1.0f) {
        standing().y = y;
        collidePlayers();
    }
    EXPECT_TRUE(players[0].alive);

    // A cactus kills a player standing on our ground, once it is within reach.
    entities[0] = Entity{"cactus0", 612.0f, 0.0f, 84.0f, 81.0f, false};
    standing(550.0f);
    collidePlayers();
    EXPECT_TRUE(players[0].alive) << "not yet within reach";
    entities[0].x = 611.0f;
    standing(550.0f).y = 687.0f;
    collidePlayers();
    EXPECT_TRUE(players[0].alive) << "above the cactus";
    standing(550.0f);
    collidePlayers();
    EXPECT_FALSE(players[0].alive);

    // Two players on two coins and a hammer: the first takes them all, each once.
    players[0].alive = true;
    entities.clear();
    entityCount = 0;
    addEntity("coin", 60.0f, 700.0f);
    addEntity("hammer", 60.0f, 700.0f);
    addEntity("coin", 60.0f, 700.0f);
    players.push_back(standing());
    playerCount = 2;
    collidePlayers();
    collidePlayers();
    EXPECT_FLOAT_EQ(players[0].speed, 0.2f);
    EXPECT_EQ(players[0].hitTimer, 0);
    EXPECT_EQ(players[1].speed, 0.0f);
    EXPECT_EQ(players[1].hitTimer, -1);
}

TEST_F(Match, JumpsRiseSixtyOneTicksAndDownDropsFast) {
    Player& p = standing();
    int rising = 0;
    do {
        p.jumpPressed = rising == 0 || rising == 30; // a request in the air is dropped
        movePlayers();
        ++rising;
    } while (p.jumping);
    EXPECT_EQ(rising, 61);
    EXPECT_EQ(p.y, floorY - 305.0f);
    p.downPressed = true;
    movePlayers();
    EXPECT_EQ(p.y, floorY - 275.0f) << "25 down, then the fall of 5";
    // A jump request while down is held is consumed without a jump.
    for (int i = 0; i < 20; ++i) {
        p.jumpPressed = true;
        movePlayers();
    }
    EXPECT_EQ(p.y, floorY);
    EXPECT_FALSE(p.jumping);
}

TEST_F(Match, AFrameShowsGroundDinosaursInTheirColoursAndTheScore) {
    dinoLeftPath = solidImage(20, 20, sf::Color::White);
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    setupMatch();
    players[0].alive = false;
    players[1].x = 200.0f;
    score = 41.0;
    sf::Image frame;
    beforePresent = [&frame] { frame = grabWindow(); };
    ticks(1);
    EXPECT_EQ(scoreText.getString(), "41");
    EXPECT_EQ(scoreText.getPosition(), sf::Vector2f(924.0f, 10.0f));
    int ink = 0;
    for (unsigned int i = 0; i < 100 * 40; ++i) {
        ink += frame.getPixel(924 + i % 100, i / 100) == sf::Color::White ? 0 : 1;
    }
    EXPECT_GT(ink, 20) << "the score's digits";
    EXPECT_EQ(frame.getPixel(210, 720), sf::Color::Red) << "player 1 by day";
    EXPECT_EQ(frame.getPixel(40, 720), sf::Color::White) << "a dead player isn't drawn";
    EXPECT_NE(frame.getPixel(500, 767), sf::Color::White) << "the ground";

    score = 1000.0;
    ticks(2);
    EXPECT_EQ(frame.getPixel(210, 720), sf::Color::Cyan) << "the night colour of player 1";

    fontPath = "src/missing.ttf";
    CaptureStderr();
    ticks(2);
    fontPath = "src/Pixellari.ttf";
    EXPECT_EQ(GetCapturedStderr(),
              "Error  : load police src/missing.ttf\nError  : load police src/missing.ttf\n");
}

TEST_F(Match, EscapeEndsAMatchInAPassWithoutATickAndTheCloseRequestNever) {
    scriptEvent(keyEvent(sf::Event::KeyPressed, Keyboard::Escape));
    scriptPassEnd();
    handleMatchEvents();
    EXPECT_FALSE(matchRunning);
    ticks(1);
    EXPECT_TRUE(matchRunning) << "a tick in the same pass overrules it";

    scriptEvent(keyEvent(sf::Event::KeyPressed, Keyboard::Escape));
    scriptIdle();
    runMatch();
    EXPECT_EQ(score, 0.0) << "ended before the first tick";

    // Escape that arrives while the loop waits for the next tick is handled after the wait
    // in a pass without a tick, as if the loop had polled all along.
    matchRunning = true;
    scriptPassEnd();
    scriptEvent(keyEvent(sf::Event::KeyPressed, Keyboard::Escape));
    scriptIdle();
    runMatch();
    EXPECT_EQ(scrollSpeed, -1.0f) << "no tick ran";

    // Player 0 is out at the first tick, player 1 after 60; then both are alive again.
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    players[1].speed = -2.0f;
    players[0].speed = -200.0f;
    matchRunning = true;
    scriptEvent(closeRequest());
    runMatch();
    EXPECT_TRUE(window.isOpen());
    EXPECT_EQ(score, 20.0);
    EXPECT_TRUE(players[0].alive && players[1].alive);
}
