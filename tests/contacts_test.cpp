// Contacts between a player (111 × 118) and the world's objects on a 1024 × 768 screen: what
// each kind does, where its reach ends, the depth test and the clouds that hold a player.
#include "support.hpp"

#include <map>

namespace {

// The kinds' sizes, as their spawners make them.
const std::map<std::string, sf::Vector2f> sizes = {
    {"cactus0", {84, 81}}, {"cactus1", {108, 123}}, {"bird", {74, 46}},   {"saw", {98.4f, 99}},
    {"coin", {64, 64}},    {"hammer", {64, 64}},    {"cloud", {112, 222}}};

// An entity's kind, x and y, the player's x and y, and what the contact did: x out, - nothing,
// c coin taken, h hammer taken (the stun restarts from 50 at 0), p held.
// clang-format off
const char* const contacts[] = {
    // Cacti: the depth test alone decides how low, with no vertical overlap.
    "cactus0 100 0 100 688 x", "cactus0 100 0 100 687 -", "cactus1 100 0 100 646 x",
    "cactus1 100 0 100 645 -",
    // Reach: left of 1024 / 2 + 100; horizontal overlap, strictly.
    "cactus0 612 0 550 728 -", "cactus0 611 0 550 728 x", "cactus0 111 0 0 728 -",
    "cactus0 110.5 0 0 728 x", "cactus0 0 0 84 728 -", "cactus0 0 0 83.5 728 x",
    // Birds and saws: reach, depth and vertical overlap, each strictly.
    "bird 100 680 100 700 x", "saw 100 650 100 700 x", "bird 100 654 100 700 -",
    "bird 100 654.5 100 700 x", "bird 100 818 100 700 -", "bird 100 817.5 100 700 x",
    "bird 100 400 100 322 -", "bird 100 400 100 322.5 x", "saw 612 650 550 700 -",
    // Pickups.
    "coin 100 650 100 700 c", "hammer 100 650 100 700 h", "coin 612 650 550 700 -",
    // A cloud holds a player from 9 above exclusive to 4 above inclusive, wherever it is.
    "cloud 700 600 650 591 -", "cloud 700 600 650 591.5 p", "cloud 700 600 650 596 p",
    "cloud 700 600 650 596.5 -"};
// clang-format on

} // namespace

class Contacts : public MatchTest {};

TEST_F(Contacts, EachKindActsOnlyWithinReachDepthAndOverlapAndCloudsHold) {
    for (const char* contact : contacts) {
        std::istringstream row(contact);
        std::string kind, outcome;
        float ex = 0, ey = 0, px = 0, py = 0;
        row >> kind >> ex >> ey >> px >> py >> outcome;
        SetUp(); // a fresh match for each
        addEntity(kind.c_str(), ex, ey, sizes.at(kind).x, sizes.at(kind).y);
        Player& p = place(0, px, py);
        p.hitTimer = 50;
        collidePlayers();
        const std::string did = std::string(p.alive ? "" : "x") + (p.onPlatform ? "p" : "") +
                                (entities[0].taken ? (p.hitTimer ? "c" : "h") : "");
        EXPECT_EQ(did.empty() ? "-" : did, outcome) << contact;
        EXPECT_TRUE(p.hitTimer == (outcome == "h" ? 0 : 50) && !p.platformFound) << contact;
    }
}

TEST_F(Contacts, PickupsGoOnceToTheFirstLivingPlayerAndTheDeadStillCollect) {
    addPlayer("WSAD");
    addPlayer("IKJL");
    for (std::size_t p = 0; p < 3; ++p) {
        place(p, 100, 700).alive = p > 0; // player 0 is skipped entirely
    }
    for (const char* kind : {"cactus0", "coin", "coin", "hammer"}) {
        addEntity(kind, 100, 650, sizes.at(kind).x, sizes.at(kind).y);
    }
    collidePlayers();
    collidePlayers();
    // Player 1 is killed by the cactus but still takes both coins after it, and the hammer;
    // a cactus kills everyone it touches, and none is left for player 2.
    EXPECT_FLOAT_EQ(players[1].speed, 0.2f);
    EXPECT_FALSE(players[1].alive || players[2].alive || players[1].hitTimer);
    EXPECT_TRUE(players[0].speed == 0 && players[2].speed == 0 && players[2].hitTimer == -1);
}

TEST_F(Contacts, TheLastDinosaurOutWinsAndDinosaursOutInOneTickLeaveNoWinner) {
    // Per match: the players a cactus puts out at each tick, and the match's winner.
    const std::pair<std::vector<std::string>, int> matches[] = {
        {{"1", "0"}, 0}, {{"0", "", "1"}, 1}, {{"01"}, -1}, {{"", "01"}, -1}, {{"1", "0"}, 0}};
    addPlayer("IKJL");
    for (const auto& [hits, winner] : matches) {
        setupMatch();
        std::tie(players[0].alive, players[1].alive, players[1].x) = std::tuple(true, true, 300);
        for (const std::string& hit : hits) {
            for (char p : hit) {
                addEntity("cactus0", 300.0f * (p - '0'), 0, 84, 81);
            }
            ticks(1);
        }
        EXPECT_TRUE(!matchRunning && matchWinner == winner) << winner;
    }
    // Only a match with a winner counts as a win.
    EXPECT_TRUE(players[0].wins == 2 && players[1].wins == 1);
}
