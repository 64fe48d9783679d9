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

// randomBetween(from, to) as made from the n-th draw of the runtime's rand from seed 1; the
// runtime's rand is left after that draw.
float draw(int n, float from, float to) {
    std::srand(1);
    float r = 0;
    for (int i = 0; i < n; ++i) {
        r = static_cast<float>(std::rand() / (RAND_MAX / 32768 + 1));
    }
    return r / 32767.0f * (to - from) + from;
}

// The entities as listed: name, x, y, width and height of each.
std::string listed() {
    std::ostringstream all;
    for (const Entity& e : entities) {
        all << e.name << ' ' << e.x << ' ' << e.y << ' ' << e.width << ' ' << e.height << ", ";
    }
    return all.str();
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

TEST_F(World, TheGroundWrapsPastTwoTilesAndEachRunFrameShowsForElevenTicks) {
    std::string phases;
    for (int i = 0; i < 23; ++i) {
        phases += animPhase ? 'L' : 'R';
        ticks(1);
    }
    EXPECT_EQ(phases, std::string(11, 'L') + std::string(11, 'R') + "L") << "first frame first";
    EXPECT_NEAR(groundScrollX, -23.276f, 0.001f) << "with the world";
    // The world stands still for a tick (its speed-up brings the speed to 0): two tiles of 64
    // to the left are kept, anything past them starts again from 0 at the next tick.
    for (const auto& [x, after] : {std::pair{-128.0f, -128.0f}, {-128.5f, 0.0f}}) {
        groundScrollX = x;
        scrollSpeed = 0.001f;
        ticks(1);
        EXPECT_EQ(groundScrollX, after);
    }
}

TEST_F(World, SpawnersFireOnTheirClocksDrawingInOrderAndEachBringsACloud) {
    // The set-up drew the first cactus kind (the first random bit from seed 1: 0) and the
    // delays (rand 1 to 3); drawing them again leaves the runtime's rand where it was.
    EXPECT_EQ(nextCactusKind, 0);
    EXPECT_FLOAT_EQ(cactusDelay, draw(1, 5, 8));
    EXPECT_FLOAT_EQ(pickupDelay, draw(2, 5, 10));
    EXPECT_FLOAT_EQ(flyerDelay, draw(3, 5, 8));
    // Cacti and flyers draw their next delays from these; pickups from 5 to 10 seconds.
    spawnMinDelay = 2;
    spawnSpread = 3;
    advanceClock(sf::seconds(cactusDelay) - sf::milliseconds(1));
    spawnCactus();
    EXPECT_EQ(entityCount, 0) << "not before its delay";
    advanceClock(sf::milliseconds(2));
    spawnCactus();
    advanceClock(sf::seconds(1.99f));
    spawnCactus();
    EXPECT_EQ(entityCount, 2) << "its clock restarted when it fired";
    // Pickups and flyers twice, on the random bits 1, 1 and then 0, 0.
    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        advanceClock(sf::seconds(10));
        spawnPickup();
        spawnFlyer();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "test\ntest\n") << "meant: a trace";
    // Late as they fired, the clocks restarted then: the lost time is not made up.
    advanceClock(sf::seconds(1.99f));
    spawnPickup();
    spawnFlyer();
    std::ostringstream expected;
    const float cloudTo = floorY - 130.0f;
    auto add = [&expected](const char* name, float y, const char* size) {
        expected << name << " 1124 " << y << ' ' << size << ", ";
    };
    add("cactus0", 0, "84 81");
    add("cloud", draw(5, 500, cloudTo), "112 222");
    add("hammer", draw(7, 100, floorY), "64 64");
    add("cloud", draw(8, 500, cloudTo), "112 222");
    add("saw", draw(10, 100, cloudTo), "98.4 99");
    add("cloud", draw(11, 500, cloudTo), "112 222");
    add("coin", draw(13, 100, floorY), "64 64");
    add("cloud", draw(14, 500, cloudTo), "112 222");
    add("bird", draw(16, 100, cloudTo), "74 46");
    add("cloud", draw(17, 500, cloudTo), "112 222");
    EXPECT_EQ(listed(), expected.str());
    EXPECT_EQ(entityCount, 10);
    EXPECT_EQ(nextCactusKind, 1) << "each cactus draws the next one's kind";
    EXPECT_FLOAT_EQ(cactusDelay, draw(4, 2, 3));
    EXPECT_FLOAT_EQ(pickupDelay, draw(12, 5, 10));
    EXPECT_FLOAT_EQ(flyerDelay, draw(15, 2, 3));
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
    EXPECT_EQ(listed(), "bird -100 300 64 64, saw -99.5 300 64 64, hammer 698.5 300 64 64, ");
    EXPECT_EQ(entityCount, 3);
}

TEST_F(World, EntitiesAreDrawnInTheirOrderCactiOnTheFloorAndTakenPickupsNot) {
    cactus0Path = savedImage(solidImage(10, 10, sf::Color::Green));
    coinPath = savedImage(solidImage(10, 10, sf::Color::Blue));
    setupMatch();
    // Points at the cactus (scaled 3, on the floor), above it, the coin (scaled 4, its
    // bottom-left corner at its y), above it, the taken coin, the coin drawn over the cactus.
    addEntity("cactus0", 401, 0);
    addEntity("coin", 421, 300);
    addEntity("coin", 701, 300);
    entities.back().taken = true;
    addEntity("coin", 421, floorY);
    window.clear(sf::Color::White);
    scrollEntities();
    // The floor line is at 728.
    const std::string seen = colours(
        grabWindow(), {{405, 700}, {405, 696}, {457, 262}, {425, 255}, {705, 290}, {425, 726}});
    EXPECT_EQ(seen, "gwbwwb");
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
    EXPECT_TRUE(players[0].alive && entities.empty() && entityCount == 0);
}

TEST_F(World, EscapeEndsTheMatchInAPassWithoutATickAndIsOverruledInOneWithATick) {
    script("Escape |");
    handleMatchEvents();
    EXPECT_FALSE(matchRunning);
    ticks(1);
    EXPECT_TRUE(matchRunning) << "someone is alive";
    script("Escape");
    scriptIdle();
    runMatch();
    EXPECT_EQ(scrollSpeed, -1.0f) << "over before its first tick";
}
