// Contacts between a player (111 × 118) and the world's objects on a 1024 × 768 screen: what
// each kind does, where its reach ends, the depth test and the clouds that hold a player.
#include "support.hpp"

namespace {

// An entity's box, the player's position, and what the contact did: 'x' out, '-' nothing,
// 'c' coin taken (+0.1 speed), 'h' hammer taken (the stun restarts from 50 at 0), 'p' held.
struct Contact {
    const char* kind;
    float ex, ey, ew, eh, px, py;
    char outcome;
};

// clang-format off
const Contact contacts[] = {
    // Cacti: the depth test alone decides how low, with no vertical overlap.
    {"cactus0", 100, 0, 84, 81, 100, 688, 'x'}, {"cactus0", 100, 0, 84, 81, 100, 687, '-'},
    {"cactus1", 100, 0, 108, 123, 100, 646, 'x'}, {"cactus1", 100, 0, 108, 123, 100, 645, '-'},
    {"cactus0", 100, 0, 84, 81, 100, 728, 'x'},
    // Reach: left of 1024 / 2 + 100; horizontal overlap, strictly.
    {"cactus0", 612, 0, 84, 81, 550, 728, '-'}, {"cactus0", 611, 0, 84, 81, 550, 728, 'x'},
    {"cactus0", 111, 0, 84, 81, 0, 728, '-'}, {"cactus0", 110.5f, 0, 84, 81, 0, 728, 'x'},
    {"cactus0", 0, 0, 84, 81, 84, 728, '-'}, {"cactus0", 0, 0, 84, 81, 83.5f, 728, 'x'},
    // Birds and saws: reach, depth and vertical overlap, each strictly.
    {"bird", 100, 680, 74, 46, 100, 700, 'x'}, {"saw", 100, 650, 98.4f, 99, 100, 700, 'x'},
    {"bird", 100, 654, 74, 46, 100, 700, '-'}, {"bird", 100, 654.5f, 74, 46, 100, 700, 'x'},
    {"bird", 100, 818, 74, 46, 100, 700, '-'}, {"bird", 100, 817.5f, 74, 46, 100, 700, 'x'},
    {"bird", 100, 400, 74, 46, 100, 322, '-'}, {"bird", 100, 400, 74, 46, 100, 322.5f, 'x'},
    {"bird", 100, 200, 74, 46, 100, 240, '-'}, {"saw", 100, 100, 98.4f, 99, 100, 150, '-'},
    {"saw", 612, 650, 98.4f, 99, 550, 700, '-'},
    // Pickups.
    {"coin", 100, 650, 64, 64, 100, 700, 'c'}, {"hammer", 100, 650, 64, 64, 100, 700, 'h'},
    {"coin", 612, 650, 64, 64, 550, 700, '-'}, {"hammer", 100, 100, 64, 64, 100, 150, '-'},
    // A cloud holds a player from 9 above exclusive to 4 above inclusive, wherever it is.
    {"cloud", 700, 600, 112, 222, 650, 591, '-'}, {"cloud", 700, 600, 112, 222, 650, 591.5f, 'p'},
    {"cloud", 700, 600, 112, 222, 650, 596, 'p'}, {"cloud", 700, 600, 112, 222, 650, 596.5f, '-'},
};
// clang-format on

} // namespace

class Contacts : public MatchTest {};

TEST_F(Contacts, EachKindActsOnlyWithinReachDepthAndOverlapAndCloudsHold) {
    for (const Contact& c : contacts) {
        SCOPED_TRACE(std::string(c.kind) + " at " + std::to_string(c.ex) + ", " +
                     std::to_string(c.ey) + " on " + std::to_string(c.py));
        entities.clear();
        entityCount = 0;
        addEntity(c.kind, c.ex, c.ey, c.ew, c.eh);
        Player& p = players[0];
        p = Player{};
        p.x = c.px;
        p.y = c.py;
        p.hitTimer = 50;
        collidePlayers();
        EXPECT_EQ(p.alive, c.outcome != 'x');
        EXPECT_FLOAT_EQ(p.speed, c.outcome == 'c' ? 0.1f : 0.0f);
        EXPECT_EQ(p.hitTimer, c.outcome == 'h' ? 0 : 50);
        EXPECT_EQ(entities[0].taken, c.outcome == 'c' || c.outcome == 'h');
        EXPECT_EQ(p.onPlatform, c.outcome == 'p');
        EXPECT_FALSE(p.platformFound) << "cleared after every pass";
    }
}

TEST_F(Contacts, PickupsGoOnceToTheFirstLivingPlayerAndTheDeadStillCollect) {
    addKeyboardPlayer("WSAD");
    addKeyboardPlayer("IKJL");
    for (Player& p : players) {
        p.x = 100;
        p.y = 700;
    }
    players[0].alive = false; // skipped entirely
    addEntity("cactus0", 100, 0, 84, 81);
    addEntity("coin", 100, 650);
    addEntity("coin", 100, 650);
    addEntity("hammer", 100, 650);
    collidePlayers();
    collidePlayers();
    EXPECT_FALSE(players[1].alive) << "killed by the cactus";
    EXPECT_FLOAT_EQ(players[1].speed, 0.2f) << "but still takes both coins after it";
    EXPECT_EQ(players[1].hitTimer, 0);
    EXPECT_EQ(players[2].speed, 0.0f) << "nothing left for the next player";
    EXPECT_EQ(players[2].hitTimer, -1);
    EXPECT_EQ(players[0].speed, 0.0f);
    EXPECT_FALSE(players[2].alive) << "a cactus kills everyone it touches";
}

TEST_F(Contacts, AnyHoldingCloudWinsAndOnlyAnUnderlappingOneClears) {
    Player& p = players[0];
    p.x = 100;
    p.y = 596;
    auto onPlatformAfter = [&p](bool before, std::initializer_list<float> cloudXs) {
        entities.clear();
        entityCount = 0;
        for (float x : cloudXs) {
            addEntity("cloud", x, x == 150 ? 700.0f : 600.0f, 112, 222);
        }
        p.onPlatform = before;
        collidePlayers();
        return p.onPlatform;
    };
    // 100: holds; 150: overlaps but lower, holds nothing; 500: no overlap.
    EXPECT_TRUE(onPlatformAfter(false, {500, 100}));
    EXPECT_TRUE(onPlatformAfter(false, {100, 500}));
    EXPECT_FALSE(onPlatformAfter(true, {500}));
    EXPECT_FALSE(onPlatformAfter(true, {150, 500}));
    EXPECT_TRUE(onPlatformAfter(true, {150})) << "unchanged";
    EXPECT_FALSE(onPlatformAfter(false, {150})) << "unchanged";
    EXPECT_TRUE(onPlatformAfter(true, {})) << "unchanged";
}
