// The dinosaurs' motion, tick by tick: running, jumping, ducking, falling, clouds, the stun,
// the edges of the play field, and day and night by the score.
#include "support.hpp"

#include <cstring>

namespace {

// A step of player 0's motion: requests made before it ('j' jump, 'd' down), its number of
// ticks, and then the player's x, its y as an offset from the floor line (728), and "jumping",
// "asked" while a jump request is pending and "out".
void expectSteps(std::initializer_list<std::tuple<const char*, int, const char*>> steps) {
    Player& p = players[0];
    for (const auto& [requests, ticks, after] : steps) {
        p.jumpPressed = p.jumpPressed || std::strchr(requests, 'j');
        p.downPressed = p.downPressed || std::strchr(requests, 'd');
        for (int i = 0; i < ticks; ++i) {
            movePlayers();
        }
        std::ostringstream where;
        where << p.x << " " << p.y - floorY << (p.jumping ? " jumping" : "")
              << (p.jumpPressed ? " asked" : "") << (p.alive ? "" : " out");
        EXPECT_EQ(where.str(), after) << "after " << ticks << " more";
    }
}

} // namespace

class Motion : public MatchTest {};

TEST_F(Motion, AJumpFromTheFloorOrACloudRisesFivePerTickForSixtyOneTicksAndDownEndsIt) {
    // A request made in the air is dropped; the 61st tick is the last going up; the floor
    // holds.
    // clang-format off
    expectSteps({{"j", 1, "30 -5 jumping"}, {"", 29, "30 -150 jumping"},
                 {"j", 30, "30 -300 jumping"}, {"", 1, "30 -305"}, {"", 60, "30 -5"},
                 {"", 5, "30 0"}});
    // clang-format on
    // Down drops 25 and then falls 5, clamped to the floor, where a jump requested while down
    // is held is consumed.
    expectSteps(
        {{"j", 10, "30 -50 jumping"}, {"d", 1, "30 -20"}, {"", 1, "30 0"}, {"j", 1, "30 0"}});
    // A jump starts only from the floor line or a cloud. Below the floor line, even by a hair: no
    // jump, but the floor clamp.
    place(0, 30, floorY + 0.5f);
    expectSteps({{"j", 1, "30 0"}});
    place(0, 0, 400).onPlatform = true;
    expectSteps({{"j", 1, "0 -333 jumping"}});
}

TEST_F(Motion, CloudsCarryAgainstDownAndHammersStunForAHundredTicksAndOne) {
    // The second cloud holds the player; one that does not overlap it, before or after, and a
    // lower one that does, neither hold it nor let it go.
    for (const auto& [x, y] : {std::pair{300.0f, 600.0f}, {0, 600}, {0, 700}, {300, 600}}) {
        addEntity("cloud", x, y, 112, 222);
    }
    place(0, 0, 400.5f);
    // Caught falling at 595.5; off the cloud, down drops 25 and 5.
    expectSteps({{"", 60, "0 -132.5"}, {"d", 3, "0 -132.5"}});
    entities[1].x = 500;
    expectSteps({{"", 1, "0 -102.5"}});
    // A hammer's stun: the player drifts with the world, hangs in the air and ignores its controls,
    // then stands still for a tick.
    place(0, 300, floorY - 100).hitTimer = 0;
    players[0].speed = 1;
    expectSteps({{"j", 100, "200 -100 asked"}, {"", 1, "200 -100 asked"}, {"", 1, "201 -95"}});
}

TEST_F(Motion, PlayersStayLeftOfHalfTheScreenAndAreOutPastMinus88) {
    // Screen width, x and speed, then the player after a tick.
    // clang-format off
    const std::tuple<int, float, float, const char*> cases[] = {
        {1024, 500, 13, "512 0"}, {1025, 512, 1, "512 0"}, {1024, 100, -3, "97 0"},
        {1024, -87, -1, "-88 0"}, {1024, -87.5f, -1, "-88.5 0 out"}, {1024, 510, 0.1f, "510.1 0"}};
    // clang-format on
    for (const auto& [screen, x, speed, after] : cases) {
        screenWidth = screen;
        place(0, x, floorY).speed = speed;
        expectSteps({{"", 1, after}});
    }
}

TEST_F(Motion, NightFallsAtEachThousandForFiveHundredPoints) {
    // Score, then night (1), day (0) or as it was (-1), read from the background. (That the ink
    // turns with it: the match frame's test.)
    // clang-format off
    const std::pair<double, int> scores[] = {
        {0, 0}, {500, 0}, {999, -1}, {1000, 1}, {1250, -1}, {1499, -1}, {1500, 0},
        {2000, 1}, {2500, 0}, {3000, 1}, {3001, -1}, {1000.7, 1}};
    // clang-format on
    for (const auto& [points, night] : scores) {
        for (const bool before : {false, true}) {
            score = points;
            backgroundColor = before ? sf::Color::Black : sf::Color::White;
            movePlayers();
            const bool now = night < 0 ? before : night == 1;
            EXPECT_EQ(backgroundColor, now ? sf::Color::Black : sf::Color::White)
                << points << (before ? " from night" : " from day");
        }
    }
}
