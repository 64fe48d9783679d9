// The world of a match: the tick's speed-up, score and spawn delays, the ground and the run
// animation, the spawners on the scripted clock with their random draws, and Escape in a match.
#include "support.hpp"

namespace {

// randomBetween(from, to) as made from the n-th draw of the runtime's rand from seed 1; the
// runtime's rand is left after that draw.
float draw(int n, float from, float to) {
    std::srand(1);
    for (int i = 1; i < n; ++i) {
        std::rand();
    }
    return float(std::rand() / (RAND_MAX / 32768 + 1)) / 32767.0f * (to - from) + from;
}

// The entities as listed (name, x, y, width and height of each), then the spawn delays of
// cacti, pickups and flyers, the next cactus's kind and the entity count.
std::string listed() {
    std::ostringstream all;
    for (const Entity& e : entities) {
        all << e.name << ' ' << e.x << ' ' << e.y << ' ' << e.width << ' ' << e.height << ", ";
    }
    all << cactusDelay << ' ' << pickupDelay << ' ' << flyerDelay << ' ' << nextCactusKind << ' '
        << entityCount;
    return all.str();
}

} // namespace

class World : public MatchTest {};

TEST_F(World, TicksSpeedUpScoreEveryThirdShrinkTheDelaysAndRunTheFramesAndTheGround) {
    // Each run frame shows for 11 ticks, the first one first; the ground moves with the world.
    std::string phases;
    for (int i = 0; i < 23; ++i) {
        phases += animPhase ? 'L' : 'R';
        ticks(1);
    }
    EXPECT_EQ(phases, std::string(11, 'L') + std::string(11, 'R') + "L");
    std::ostringstream state;
    state << scrollSpeed << ' ' << groundScrollX << ' ' << score << ' ' << spawnMinDelay << ' '
          << spawnSpread;
    EXPECT_EQ(state.str(), "-1.023 -23.276 7 4.965 7.965");
    // The delays shrink to one step below their floors, then no more.
    spawnMinDelay = 0.501f;
    spawnSpread = 1.001f;
    ticks(7);
    EXPECT_TRUE(spawnMinDelay == 0.501f - 0.005f && spawnSpread == 1.001f - 0.005f);
    // The world stands still for a tick (its speed-up brings the speed to 0): the ground, past
    // two tiles of 64 to the left, starts again from 0.
    groundScrollX = -128.5f;
    scrollSpeed = 0.001f;
    ticks(1);
    EXPECT_EQ(groundScrollX, 0.0f);
}

TEST_F(World, SpawnersFireOnTheirClocksDrawingInOrderAndEachBringsACloud) {
    // The set-up drew the delays (rand 1 to 3) and the first cactus kind (the first random bit
    // from seed 1: 0); drawing them again leaves the runtime's rand where it was.
    std::ostringstream first;
    first << draw(1, 5, 8) << ' ' << draw(2, 5, 10) << ' ' << draw(3, 5, 8) << " 0 0";
    EXPECT_EQ(listed(), first.str());
    // Cacti and flyers draw their next delays from these; pickups from 5 to 10 seconds.
    spawnMinDelay = 2;
    spawnSpread = 3;
    // The cactus spawner fires at its delay, not before, and its clock restarts then.
    for (const auto& [wait, count] :
         {std::pair{cactusDelay - 0.001f, 0}, {0.002f, 2}, {1.99f, 2}}) {
        sleepFor(sf::seconds(wait));
        spawnCactus();
        EXPECT_EQ(entityCount, count) << "after " << wait;
    }
    // Pickups and flyers twice, on the random bits 1, 1 and then 0, 0, each time late; the
    // lost time is not made up. Meant: each flyer is traced.
    testing::internal::CaptureStderr();
    for (const float wait : {10.0f, 10.0f, 1.99f}) {
        sleepFor(sf::seconds(wait));
        spawnPickup();
        spawnFlyer();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "test\ntest\n");
    // The second cactus, of the kind the first drew.
    spawnCactus();
    // Each entity but the clouds: its name, the draw that placed it and from where to where (a
    // cactus stands at 0, whatever its draw: that of its next delay), its size. A cloud follows
    // each, placed by the next draw.
    const float cloud = floorY - 130.0f;
    // clang-format off
    const std::tuple<const char*, int, float, float, const char*> spawned[] = {
        {"cactus0", 4, 0, 0, "84 81"}, {"hammer", 7, 100, floorY, "64 64"},
        {"saw", 10, 100, cloud, "98.4 99"}, {"coin", 13, 100, floorY, "64 64"},
        {"bird", 16, 100, cloud, "74 46"}, {"cactus1", 18, 0, 0, "108 123"}};
    // clang-format on
    std::ostringstream expected;
    for (const auto& [name, n, from, to, size] : spawned) {
        expected << name << " 1124 " << draw(n, from, to) << ' ' << size << ", cloud 1124 "
                 << draw(n + 1, 500, cloud) << " 112 222, ";
    }
    // The next delays, the next cactus's kind (each cactus draws it) and the count.
    expected << draw(18, 2, 3) << ' ' << draw(12, 5, 10) << ' ' << draw(15, 2, 3) << " 0 " << 12;
    EXPECT_EQ(listed(), expected.str());
}

TEST_F(World, EscapeEndsTheMatchInAPassWithoutATickAndIsOverruledInOneWithATick) {
    script("close Escape |");
    handleMatchEvents();
    EXPECT_TRUE(!matchRunning && window.isOpen()) << "Escape ends it; the close request is ignored";
    ticks(1);
    EXPECT_TRUE(matchRunning) << "a tick overrules it while someone is alive";
    script("Escape |");
    runMatch();
    EXPECT_EQ(scrollSpeed, -1.0f) << "over before its first tick";
    EXPECT_EQ(heard(), "") << "a match that Escape ends ends without its sound";
}
