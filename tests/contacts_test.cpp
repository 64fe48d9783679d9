// Contacts between a player (111 × 118) and the world's objects on a 1024 × 768 screen: what
// each kind does, where its reach ends, the depth test and the clouds that hold a player.
#include "support.hpp"

namespace {

struct Contact {
    const char* why;
    const char* kind;
    float ex, ey, ew, eh; // the entity's box
    float px, py;         // the player's position
    bool alive;           // after the contact
    float speed;
    int hitTimer; // from 50
    bool taken;
};

const Contact contacts[] = {
    {"cactus0 kills below 768 - 81", "cactus0", 100, 0, 84, 81, 100, 688, false, 0, 50, false},
    {"cactus0 spares y 687", "cactus0", 100, 0, 84, 81, 100, 687, true, 0, 50, false},
    {"cactus1 kills below 768 - 123", "cactus1", 100, 0, 108, 123, 100, 646, false, 0, 50, false},
    {"cactus1 spares y 645", "cactus1", 100, 0, 108, 123, 100, 645, true, 0, 50, false},
    {"a cactus needs no vertical overlap", "cactus0", 100, 0, 84, 81, 100, 728, false, 0, 50,
     false},
    {"reach ends left of 1024 / 2 + 100", "cactus0", 612, 0, 84, 81, 550, 728, true, 0, 50, false},
    {"within reach at 611", "cactus0", 611, 0, 84, 81, 550, 728, false, 0, 50, false},
    {"player's right edge on the left edge", "cactus0", 111, 0, 84, 81, 0, 728, true, 0, 50, false},
    {"player's right edge past the left edge", "cactus0", 110.5f, 0, 84, 81, 0, 728, false, 0, 50,
     false},
    {"entity's right edge on the player", "cactus0", 0, 0, 84, 81, 84, 728, true, 0, 50, false},
    {"entity's right edge past the player", "cactus0", 0, 0, 84, 81, 83.5f, 728, false, 0, 50,
     false},
    {"a bird kills", "bird", 100, 680, 74, 46, 100, 700, false, 0, 50, false},
    {"a saw kills", "saw", 100, 650, 98.4f, 99, 100, 700, false, 0, 50, false},
    {"a bird whose bottom is the player's y", "bird", 100, 654, 74, 46, 100, 700, true, 0, 50,
     false},
    {"a bird just lower", "bird", 100, 654.5f, 74, 46, 100, 700, false, 0, 50, false},
    {"a bird at the bottom of the player's box", "bird", 100, 818, 74, 46, 100, 700, true, 0, 50,
     false},
    {"a bird just inside it", "bird", 100, 817.5f, 74, 46, 100, 700, false, 0, 50, false},
    {"the depth test is strict", "bird", 100, 400, 74, 46, 100, 322, true, 0, 50, false},
    {"just past the depth test", "bird", 100, 400, 74, 46, 100, 322.5f, false, 0, 50, false},
    {"a high bird fails the depth test", "bird", 100, 200, 74, 46, 100, 240, true, 0, 50, false},
    {"a coin speeds up", "coin", 100, 650, 64, 64, 100, 700, true, 0.1f, 50, true},
    {"a hammer stuns from 0", "hammer", 100, 650, 64, 64, 100, 700, true, 0, 0, true},
    {"a coin out of reach", "coin", 612, 650, 64, 64, 550, 700, true, 0, 50, false},
    {"a saw out of depth", "saw", 100, 100, 98.4f, 99, 100, 150, true, 0, 50, false},
};

} // namespace

class Contacts : public MatchTest {};

TEST_F(Contacts, EachKindActsOnlyWithinReachDepthAndOverlap) {
    for (const Contact& c : contacts) {
        SCOPED_TRACE(c.why);
        entities.clear();
        entityCount = 0;
        addEntity(c.kind, c.ex, c.ey, c.ew, c.eh);
        Player& p = players[0];
        p = Player{};
        p.x = c.px;
        p.y = c.py;
        p.hitTimer = 50;
        collidePlayers();
        EXPECT_EQ(p.alive, c.alive);
        EXPECT_FLOAT_EQ(p.speed, c.speed);
        EXPECT_EQ(p.hitTimer, c.hitTimer);
        EXPECT_EQ(entities[0].taken, c.taken);
    }
}

TEST_F(Contacts, PickupsGoOnceToTheFirstLivingPlayerAndTheDeadStillCollect) {
    addKeyboardPlayer(sf::Keyboard::W, sf::Keyboard::S, sf::Keyboard::A, sf::Keyboard::D);
    addKeyboardPlayer(sf::Keyboard::I, sf::Keyboard::K, sf::Keyboard::J, sf::Keyboard::L);
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

TEST_F(Contacts, ACloudHoldsAPlayerFromNineAboveExclusiveToFourAbove) {
    // y of the player → held by a cloud at y 600; the cloud is tested wherever it is.
    const std::pair<float, bool> heights[] = {
        {591.0f, false}, {591.5f, true}, {596.0f, true}, {596.5f, false}};
    for (const auto& [y, held] : heights) {
        SCOPED_TRACE(y);
        entities.clear();
        entityCount = 0;
        addEntity("cloud", 700, 600, 112, 222);
        players[0].x = 650;
        players[0].y = y;
        players[0].onPlatform = false;
        collidePlayers();
        EXPECT_EQ(players[0].onPlatform, held);
        EXPECT_FALSE(players[0].platformFound) << "cleared after every pass";
    }
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
