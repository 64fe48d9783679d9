// The world of a match: the tick's speed-up, score and spawn delays, the ground and the run
// animation, the spawners on the scripted clock with their random draws, and the entities'
// scroll.
#include "support.hpp"

namespace {

void ticks(int n) {
    Clock clock;
    for (int i = 0; i < n; ++i) {
        runTick(clock);
    }
}

// The first twelve draws of the runtime's rand from seed 1, scaled to 0..32767 as the game
// scales them, and the first four random bits from seed 1; the runtime's rand is then put
// back where the set-up left it, three draws in.
int rands[12];
int bits[4];
void replay() {
    std::srand(1);
    for (int& r : rands) {
        r = std::rand() / (RAND_MAX / 32768 + 1);
    }
    std::mt19937 generator(1);
    for (int& b : bits) {
        b = static_cast<int>(generator() >> 31);
    }
    std::srand(1);
    for (int i = 0; i < 3; ++i) {
        std::rand();
    }
}
// randomBetween(from, to) as made from the n-th draw.
float draw(int n, float from, float to) {
    return static_cast<float>(rands[n - 1]) / 32767.0f * (to - from) + from;
}

// The entities as listed, one a line: name, x, y, width, height; and one such line for an
// entity just spawned at 1024 + 100.
std::string listed() {
    std::ostringstream all;
    for (const Entity& e : entities) {
        all << e.name << ' ' << e.x << ' ' << e.y << ' ' << e.width << ' ' << e.height
            << (e.taken ? " taken" : "") << '\n';
    }
    return all.str();
}
std::string spawned(const char* name, float y, float width, float height) {
    std::ostringstream line;
    line << name << " 1124 " << y << ' ' << width << ' ' << height << '\n';
    return line.str();
}

} // namespace

class World : public MatchTest {};

TEST_F(World, EachTickSpeedsUpAndEveryThirdScoresAndShrinksTheDelaysToTheirFloors) {
    ticks(2);
    EXPECT_FLOAT_EQ(scrollSpeed, -1.002f);
    EXPECT_EQ(score, 0.0);
    ticks(1);
    EXPECT_EQ(score, 1.0);
    EXPECT_FLOAT_EQ(spawnMinDelay, 4.995f);
    EXPECT_FLOAT_EQ(spawnSpread, 7.995f);
    ticks(27);
    EXPECT_EQ(score, 10.0);
    spawnMinDelay = 0.501f;
    spawnSpread = 1.001f;
    ticks(6);
    EXPECT_FLOAT_EQ(spawnMinDelay, 0.496f) << "one step below the floor, then no more";
    EXPECT_FLOAT_EQ(spawnSpread, 0.996f);
}

TEST_F(World, TheGroundScrollsWithTheWorldAndStartsAgainPastTwoTiles) {
    ticks(1);
    EXPECT_FLOAT_EQ(groundScrollX, -1.001f);
    // The world stands still for a tick (its speed-up brings the speed to 0): two tiles of 64
    // to the left are kept, anything past them starts again from 0 at the next tick.
    for (const auto& [x, after] : {std::pair{-128.0f, -128.0f}, {-128.5f, 0.0f}}) {
        groundScrollX = x;
        scrollSpeed = 0.001f;
        ticks(1);
        EXPECT_EQ(groundScrollX, after);
    }
}

TEST_F(World, EachRunFrameShowsForElevenTicksStartingWithTheFirst) {
    std::string phases;
    for (int i = 0; i < 23; ++i) {
        phases += animPhase ? 'L' : 'R';
        ticks(1);
    }
    EXPECT_EQ(phases, std::string(11, 'L') + std::string(11, 'R') + "L");
}

TEST_F(World, SpawnersFireOnTheirClocksDrawingInOrderAndEachBringsACloud) {
    // The set-up drew the delays (rand 1 to 3) and the first cactus kind (bit 1).
    replay();
    EXPECT_FLOAT_EQ(cactusDelay, draw(1, 5, 8));
    EXPECT_FLOAT_EQ(pickupDelay, draw(2, 5, 10));
    EXPECT_FLOAT_EQ(flyerDelay, draw(3, 5, 8));
    EXPECT_EQ(nextCactusKind, bits[0]);
    const float cloudTo = floorY - 130.0f;
    // Cacti and flyers draw their next delays from these; pickups from 5 to 10 seconds.
    spawnMinDelay = 2;
    spawnSpread = 3;

    advanceClock(sf::seconds(cactusDelay) - sf::milliseconds(1));
    spawnCactus();
    EXPECT_EQ(entityCount, 0) << "not before its delay";
    advanceClock(sf::milliseconds(2));
    spawnCactus();
    EXPECT_FLOAT_EQ(cactusDelay, draw(4, 2, 3));
    EXPECT_EQ(nextCactusKind, bits[1]) << "each cactus draws the next one's kind";
    advanceClock(sf::seconds(1.99f));
    spawnCactus();
    EXPECT_EQ(entityCount, 2) << "its clock restarted when it fired";
    advanceClock(sf::seconds(10));
    testing::internal::CaptureStderr();
    spawnPickup();
    spawnFlyer();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "test\n");
    EXPECT_FLOAT_EQ(pickupDelay, draw(6, 5, 10));
    EXPECT_FLOAT_EQ(flyerDelay, draw(9, 2, 3));
    EXPECT_EQ(listed(),
              (bits[0] ? spawned("cactus1", 0, 108, 123) : spawned("cactus0", 0, 84, 81)) +
                  spawned("cloud", draw(5, 500, cloudTo), 112, 222) +
                  spawned(bits[2] ? "hammer" : "coin", draw(7, 100, floorY), 64, 64) +
                  spawned("cloud", draw(8, 500, cloudTo), 112, 222) +
                  (bits[3] ? spawned("saw", draw(10, 100, cloudTo), 98.4f, 99)
                           : spawned("bird", draw(10, 100, cloudTo), 74, 46)) +
                  spawned("cloud", draw(11, 500, cloudTo), 112, 222));
    EXPECT_EQ(entityCount, 6);
    // Late as they fired, the clocks restarted then: the lost time is not made up.
    advanceClock(sf::seconds(1.99f));
    spawnPickup();
    spawnFlyer();
    EXPECT_EQ(entityCount, 6);
}

TEST_F(World, ScrollingMovesEachEntityOnceAndDropsTheTakenAndThosePastMinus100) {
    scrollSpeed = -1.5f;
    addEntity("cloud", -99.0f, 300);
    addEntity("bird", -98.5f, 300);
    addEntity("coin", 500, 300);
    entities.back().taken = true;
    addEntity("saw", -98.0f, 300);
    addEntity("hammer", 700, 300);
    scrollEntities();
    EXPECT_EQ(listed(), "bird -100 300 64 64\nsaw -99.5 300 64 64\nhammer 698.5 300 64 64\n");
    EXPECT_EQ(entityCount, 3);
}

TEST_F(World, EntitiesAreDrawnInTheirOrderCactiOnTheFloorAndTakenPickupsNot) {
    cactus0Path = solidImage(10, 10, sf::Color::Green);
    coinPath = solidImage(10, 10, sf::Color::Blue);
    setupMatch();
    addEntity("cactus0", 401, 0);
    addEntity("coin", 421, 300);
    addEntity("coin", 701, 300);
    entities.back().taken = true;
    window.clear(sf::Color::White);
    scrollEntities();
    const sf::Image frame = grabWindow();
    const auto floor = static_cast<unsigned>(floorY);
    EXPECT_EQ(frame.getPixel(428, floor - 28), sf::Color::Green) << "scaled 3, on the floor";
    EXPECT_EQ(frame.getPixel(432, floor - 2), sf::Color::White);
    EXPECT_EQ(frame.getPixel(457, 262), sf::Color::Blue) << "scaled 4, bottom-left at its y";
    EXPECT_EQ(frame.getPixel(425, 255), sf::Color::White);
    EXPECT_EQ(frame.getPixel(705, 290), sf::Color::White) << "taken: not drawn";
    entities.clear();
    entityCount = 0;
    addEntity("cactus0", 401, 0);
    addEntity("coin", 421, floorY);
    window.clear(sf::Color::White);
    scrollEntities();
    EXPECT_EQ(grabWindow().getPixel(425, static_cast<unsigned>(floorY) - 2), sf::Color::Blue)
        << "the later entity over the earlier";
}

TEST_F(World, TicksComeSixtyASecondAndTheMatchEndsWithEveryoneRevived) {
    std::vector<sf::Time> shown;
    beforePresent = [&shown] {
        shown.push_back(platformTime());
        addEntity("cloud", 500, 100);
    };
    players[0].speed = -2; // out at the 60th tick
    scriptIdle();
    runMatch();
    ASSERT_EQ(shown.size(), 60u);
    EXPECT_NEAR((shown.back() - shown.front()).asSeconds(), 59.0f / 60.0f, 0.001f);
    EXPECT_EQ(score, 20.0);
    EXPECT_TRUE(players[0].alive);
    EXPECT_EQ(entityCount, 0);
    EXPECT_TRUE(entities.empty());
}

TEST_F(World, EscapeEndsTheMatchInAPassWithoutATickAndIsOverruledInOneWithATick) {
    script("Escape |");
    handleMatchEvents();
    EXPECT_FALSE(matchRunning);
    Clock clock;
    runTick(clock);
    EXPECT_TRUE(matchRunning) << "someone is alive";
    script("Escape");
    scriptIdle();
    runMatch();
    EXPECT_EQ(scrollSpeed, -1.0f) << "over before its first tick";
}
