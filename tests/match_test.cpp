// The match: set-up, spawning, scrolling, collisions, motion, the tick and the loop, on a
// 1024 × 768 window with the real images unless a test swaps one.
#include "support.hpp"

#include "match/match.hpp"

#include <algorithm>
#include <cstdlib>

using sf::Keyboard;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

void addEntity(const char* name, float x, float y, float width = 64.0f, float height = 64.0f) {
    Entity e;
    e.name = name;
    e.x = x;
    e.y = y;
    e.width = width;
    e.height = height;
    entities.push_back(e);
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
    sf::Clock clock;
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
    Player& player() { return players[0]; }
    // Puts player 0 on the floor, as after its first tick.
    void standOnFloor(float x = 30.0f) {
        player().x = x;
        player().y = floorY;
    }
};

TEST_F(Match, SetupStartsEveryMatchAfreshButKeepsTheRoster) {
    EXPECT_EQ(spawnX, 1124.0f);
    EXPECT_EQ(groundDrawY, 768.0f);
    EXPECT_EQ(floorY, 728.0f) << "the ground image is 40 pixels high";
    EXPECT_EQ(groundTileWidth, 64.0f);
    EXPECT_EQ(cloudYTo, 598.0f);
    EXPECT_EQ(airYTo, 598.0f);

    score = 4321.0;
    scrollSpeed = -9.0f;
    spawnMinDelay = 0.5f;
    player().speed = 1.0f;
    player().alive = false;
    player().x = 400.0f;
    std::srand(7);
    const float cactus = randomBetween(5.0f, 8.0f);
    const float pickup = randomBetween(5.0f, 10.0f);
    const float flyer = randomBetween(5.0f, 8.0f);
    // A ground image of another size takes effect at the next match.
    groundPath = solidImage(50, 30, sf::Color::Blue);
    std::srand(7);
    setupMatch();
    EXPECT_EQ(score, 0.0);
    EXPECT_EQ(scrollSpeed, -1.0f);
    EXPECT_EQ(spawnMinDelay, 5.0f);
    EXPECT_EQ(spawnSpread, 8.0f);
    EXPECT_EQ(cactusDelay, cactus);
    EXPECT_EQ(pickupDelay, pickup);
    EXPECT_EQ(flyerDelay, flyer);
    EXPECT_EQ(groundTileWidth, 50.0f);
    EXPECT_EQ(floorY, 738.0f);
    EXPECT_EQ(player().x, 30.0f);
    EXPECT_EQ(player().y, 743.0f);
    EXPECT_EQ(player().speed, 1.0f) << "speed carries over";
    EXPECT_FALSE(player().alive) << "set-up revives nobody";

    groundPath = "src/missing.png";
    CaptureStderr();
    setupMatch();
    EXPECT_EQ(GetCapturedStderr(), "Error  : load texture src/missing.png\n");
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
    EXPECT_GE(low, 5.0f);
    EXPECT_LT(low, 5.01f);
    EXPECT_LE(high, 8.0f);
    EXPECT_GT(high, 7.99f);
    EXPECT_NEAR(ones, 10000, 500);
}

TEST_F(Match, SpawnersFireOnTheirDelaysEachWithACloud) {
    spawnCactus();
    spawnPickup();
    spawnFlyer();
    EXPECT_EQ(entityCount, 0) << "nothing comes in the first 5 seconds";

    nextCactusKind = 1;
    cactusDelay = pickupDelay = flyerDelay = 0.0f;
    CaptureStderr();
    spawnCactus();
    spawnPickup();
    const std::string beforeFlyer = GetCapturedStderr();
    CaptureStderr();
    spawnFlyer();
    EXPECT_EQ(GetCapturedStderr(), "test\n");
    EXPECT_EQ(beforeFlyer, "");
    ASSERT_EQ(entityCount, 6);
    ASSERT_EQ(entities.size(), 6u);
    const std::string kinds = names();
    EXPECT_TRUE(kinds.rfind("cactus1 cloud ", 0) == 0) << kinds;
    EXPECT_TRUE(kinds.find("cloud coin cloud") != std::string::npos ||
                kinds.find("cloud hammer cloud") != std::string::npos)
        << kinds;
    EXPECT_TRUE(kinds.find(" bird cloud ") != std::string::npos ||
                kinds.find(" saw cloud ") != std::string::npos)
        << kinds;
    EXPECT_EQ(entities[0].width, 108.0f);
    EXPECT_EQ(entities[0].y, 0.0f);
    for (const Entity& e : entities) {
        EXPECT_EQ(e.x, spawnX);
        if (e.name == "cloud") {
            EXPECT_TRUE(e.y >= cloudYFrom && e.y <= cloudYTo) << "from 500 to 598: " << e.y;
        } else if (e.name != "cactus1") {
            EXPECT_TRUE(e.y >= airYFrom && e.y <= floorY) << e.name << " " << e.y;
        }
    }
    EXPECT_GE(cactusDelay, 5.0f);
    EXPECT_LE(cactusDelay, 8.0f);
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
    EXPECT_EQ(frame.getPixel(400, 727), sf::Color::Green) << "a cactus stands on the floor";
    EXPECT_EQ(frame.getPixel(399 + 29, 728 - 30), sf::Color::Green) << "scaled by 3";
    EXPECT_EQ(frame.getPixel(520, 280), sf::Color::White) << "a taken coin is not drawn";
}

TEST_F(Match, CloudsHoldFallingPlayersInAFivePixelWindow) {
    addEntity("cloud", 0.0f, 600.0f, 112.0f, 222.0f);
    for (float y : {591.0f, 591.5f, 596.0f, 596.5f}) {
        player().y = y;
        player().onPlatform = false;
        collidePlayers();
        EXPECT_EQ(player().onPlatform, y > 591.0f && y <= 596.0f) << y;
    }
    // Falling 5 pixels a tick from any height, the player always lands on the cloud.
    for (int start = 0; start < 5; ++start) {
        player().x = 30.0f;
        player().y = 400.0f + static_cast<float>(start);
        player().onPlatform = false;
        for (int i = 0; i < 60; ++i) {
            movePlayers();
        }
        EXPECT_GT(player().y, 591.0f);
        EXPECT_LE(player().y, 596.0f);
        EXPECT_TRUE(player().onPlatform);
    }
    // Down doesn't push through a holding cloud; once no cloud is under it, it falls.
    player().downPressed = true;
    movePlayers();
    EXPECT_LE(player().y, 596.0f);
    entities[0].x = 600.0f;
    movePlayers();
    movePlayers();
    EXPECT_FALSE(player().onPlatform);
    EXPECT_GT(player().y, 620.0f);
}

TEST_F(Match, HarmIsDecidedByReachDepthAndOverlap) {
    // A bird high up never touches anyone, wherever the player is.
    addEntity("bird", 30.0f, 200.0f, 74.0f, 46.0f);
    for (float y = 100.0f; y <= floorY; y += 1.0f) {
        player().y = y;
        collidePlayers();
    }
    EXPECT_TRUE(player().alive);

    // A cactus kills a player standing on our ground, but not one jumping over it.
    entities.clear();
    entityCount = 0;
    addEntity("cactus0", 100.0f, 0.0f, 84.0f, 81.0f);
    standOnFloor();
    player().y = 687.0f;
    collidePlayers();
    EXPECT_TRUE(player().alive) << "above the cactus";
    standOnFloor();
    collidePlayers();
    EXPECT_FALSE(player().alive);
    player().alive = true;
    standOnFloor(550.0f);
    entities[0].x = 612.0f;
    collidePlayers();
    EXPECT_TRUE(player().alive) << "not yet within reach";
    entities[0].x = 611.0f;
    collidePlayers();
    EXPECT_FALSE(player().alive);
    player().alive = true;

    // Two players on one coin and one hammer: the first takes both, once.
    entities.clear();
    entityCount = 0;
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    addEntity("coin", 60.0f, 700.0f);
    addEntity("hammer", 60.0f, 700.0f);
    addEntity("coin", 60.0f, 700.0f);
    standOnFloor();
    players[1] = player();
    players[1].index = 1;
    collidePlayers();
    collidePlayers();
    EXPECT_FLOAT_EQ(players[0].speed, 0.2f);
    EXPECT_EQ(players[0].hitTimer, 0);
    EXPECT_EQ(players[1].speed, 0.0f);
    EXPECT_EQ(players[1].hitTimer, -1);
}

TEST_F(Match, JumpsRiseSixtyOneTicksAndDownDropsFast) {
    standOnFloor();
    player().jumpPressed = true;
    int rising = 0;
    while (true) {
        movePlayers();
        ++rising;
        if (!player().jumping) {
            break;
        }
        player().jumpPressed = rising == 30; // a request in the air is dropped
    }
    EXPECT_EQ(rising, 61);
    EXPECT_EQ(player().y, floorY - 305.0f);
    player().downPressed = true;
    movePlayers();
    EXPECT_EQ(player().y, floorY - 275.0f) << "25 down, then the fall of 5";
    player().downPressed = false;
    for (int i = 0; i < 60; ++i) {
        movePlayers();
    }
    EXPECT_EQ(player().y, floorY);

    // A jump request together with down is consumed without a jump.
    player().jumpPressed = true;
    player().downPressed = true;
    movePlayers();
    EXPECT_FALSE(player().jumping || player().jumpPressed);
}

TEST_F(Match, StunsLastAHundredTicksAndTheLeftEdgeKills) {
    standOnFloor(-80.0f);
    player().hitTimer = 0;
    player().speed = 1.0f;
    for (int i = 0; i < 100; ++i) {
        movePlayers();
    }
    EXPECT_TRUE(player().alive) << "a stunned player drifts past the edge without dying";
    EXPECT_FLOAT_EQ(player().x, -180.0f);
    movePlayers();
    EXPECT_EQ(player().hitTimer, -1);
    EXPECT_FLOAT_EQ(player().x, -180.0f) << "the last tick of a stun stands still";
    movePlayers();
    EXPECT_FALSE(player().alive);

    player().alive = true;
    standOnFloor(600.0f);
    movePlayers();
    EXPECT_EQ(player().x, 512.0f) << "the right limit is half the screen";
}

TEST_F(Match, DayAndNightFollowTheScore) {
    const std::pair<double, bool> cases[] = {{999, false},  {1000, true}, {1499, true},
                                             {1500, false}, {2000, true}, {0, false}};
    for (const auto& [points, night] : cases) {
        score = points;
        movePlayers();
        EXPECT_EQ(inkColor, night ? sf::Color::White : sf::Color::Black) << points;
        EXPECT_EQ(backgroundColor, night ? sf::Color::Black : sf::Color::White) << points;
    }
}

TEST_F(Match, TicksCountTheScoreFloorTheDelaysAndAnimate) {
    standOnFloor();
    spawnMinDelay = 0.502f;
    spawnSpread = 1.003f;
    ticks(10);
    EXPECT_TRUE(animPhase);
    ticks(1);
    EXPECT_FALSE(animPhase) << "each run frame stays for 11 ticks";
    ticks(19);
    EXPECT_EQ(score, 10.0);
    EXPECT_NEAR(scrollSpeed, -1.03f, 1e-5);
    EXPECT_LT(spawnMinDelay, 0.5f);
    EXPECT_GT(spawnMinDelay, 0.495f);
    EXPECT_LT(spawnSpread, 1.0f);
    EXPECT_GT(spawnSpread, 0.995f);
    EXPECT_TRUE(matchRunning);
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
    EXPECT_EQ(frame.getPixel(210, 720), sf::Color::Red) << "player 1 by day";
    EXPECT_EQ(frame.getPixel(40, 720), sf::Color::White) << "a dead player isn't drawn";
    EXPECT_NE(frame.getPixel(500, 767), sf::Color::White) << "the ground";
    int ink = 0;
    for (unsigned int x = 924; x < 1024; ++x) {
        for (unsigned int y = 0; y < 50; ++y) {
            ink += frame.getPixel(x, y) == sf::Color::White ? 0 : 1;
        }
    }
    EXPECT_GT(ink, 20) << "the score's digits";

    score = 1000.0;
    ticks(2);
    EXPECT_EQ(frame.getPixel(210, 720), sf::Color::Cyan) << "the night colour of player 1";
    EXPECT_EQ(frame.getPixel(500, 300), sf::Color::Black);

    fontPath = "src/missing.ttf";
    CaptureStderr();
    ticks(2);
    fontPath = "src/Pixellari.ttf";
    EXPECT_EQ(GetCapturedStderr(),
              "Error  : load police src/missing.ttf\nError  : load police src/missing.ttf\n");
}

TEST_F(Match, EscapeEndsTheMatchOnlyInAPassWithoutATick) {
    scriptEvent(keyEvent(sf::Event::KeyPressed, Keyboard::Escape));
    scriptPassEnd();
    handleMatchEvents();
    EXPECT_FALSE(matchRunning);
    ticks(1);
    EXPECT_TRUE(matchRunning) << "a tick in the same pass overrules it";

    scriptEvent(keyEvent(sf::Event::KeyPressed, Keyboard::Escape));
    scriptIdle();
    runMatch();
    EXPECT_FALSE(matchRunning);
    EXPECT_EQ(score, 0.0) << "no tick ran";
}

TEST_F(Match, TheLastDeathEndsTheMatchAndTheCloseRequestChangesNothing) {
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    players[0].speed = -200.0f;
    players[1].speed = -2.0f;
    scriptEvent(closeRequest());
    scriptIdle();
    runMatch();
    EXPECT_TRUE(window.isOpen());
    EXPECT_FALSE(matchRunning);
    EXPECT_EQ(score, 20.0) << "player 1 walks for 60 ticks to pass -88";
    EXPECT_TRUE(players[0].alive && players[1].alive);
    EXPECT_EQ(entityCount, 0);
}
