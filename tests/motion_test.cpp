// The dinosaurs' motion, tick by tick: running, jumping, ducking, falling, clouds, the stun,
// the edges of the play field, and day and night by the score.
#include "support.hpp"

namespace {

// Runs n ticks of motion and gives player 0's x and y, as offsets from the floor line.
std::string after(int n) {
    for (int i = 0; i < n; ++i) {
        movePlayers();
    }
    std::ostringstream where;
    where << players[0].x << " " << players[0].y - floorY;
    return where.str();
}

} // namespace

class Motion : public MatchTest {};

TEST_F(Motion, AJumpRisesFivePerTickForSixtyOneTicksThenFallsBackToTheFloor) {
    Player& p = players[0];
    p.jumpPressed = true;
    EXPECT_EQ(after(1), "30 -5");
    EXPECT_EQ(after(29), "30 -150");
    p.jumpPressed = true; // in the air: dropped
    EXPECT_EQ(after(30), "30 -300");
    EXPECT_TRUE(p.jumping);
    EXPECT_EQ(after(1), "30 -305") << "the 61st tick is the last going up";
    EXPECT_FALSE(p.jumping || p.jumpPressed);
    EXPECT_EQ(after(60), "30 -5");
    EXPECT_EQ(after(5), "30 0") << "the floor holds";
}

TEST_F(Motion, DownEndsAJumpAndDropsThirtyPerTickButNotOnTheFloor) {
    Player& p = players[0];
    p.jumpPressed = true;
    EXPECT_EQ(after(10), "30 -50");
    p.downPressed = true;
    EXPECT_EQ(after(1), "30 -20") << "25 down, then the fall of 5";
    EXPECT_FALSE(p.jumping);
    EXPECT_EQ(after(1), "30 0") << "clamped to the floor";
    p.jumpPressed = true;
    EXPECT_EQ(after(1), "30 0") << "a jump requested while down is held is consumed";
    EXPECT_FALSE(p.jumpPressed || p.jumping);
}

TEST_F(Motion, AJumpStartsOnlyFromTheFloorLineOrACloud) {
    Player& p = players[0];
    p.y = floorY + 5.0f; // a match's start
    p.jumpPressed = true;
    EXPECT_EQ(after(1), "30 0") << "no jump, but the floor clamp";
    p.y = floorY + 0.5f;
    EXPECT_EQ(after(1), "30 0");
    p.y = 400.0f;
    p.onPlatform = true;
    p.jumpPressed = true;
    movePlayers();
    EXPECT_TRUE(p.jumping && p.jumpStartY == 400.0f && p.y == 395.0f);
}

TEST_F(Motion, ACloudCarriesItsPlayerAgainstDownAndDroppingOffItFalls) {
    addEntity("cloud", 0, 600, 112, 222);
    players[0].x = 0;
    players[0].y = 400.5f; // the floor line is at 728
    EXPECT_EQ(after(60), "0 -132.5") << "caught falling, at 595.5";
    players[0].downPressed = true;
    EXPECT_EQ(after(3), "0 -132.5");
    entities[0].x = 300;
    EXPECT_EQ(after(1), "0 -102.5") << "off the cloud, down drops 25 and 5";
}

TEST_F(Motion, AHammerStunsForAHundredTicksAndOneWhileTheWorldCarriesThePlayer) {
    Player& p = players[0];
    p.x = 300;
    p.speed = 1;
    p.jumpPressed = true;
    p.hitTimer = 0;
    p.y = floorY - 100;
    EXPECT_EQ(after(100), "200 -100") << "drifts with the world and hangs in the air";
    EXPECT_TRUE(p.jumpPressed) << "ignores its controls";
    EXPECT_EQ(after(1), "200 -100") << "then one tick without motion";
    EXPECT_EQ(after(1), "201 -95");
    EXPECT_FALSE(p.jumpPressed);
}

TEST_F(Motion, PlayersStayLeftOfHalfTheScreenAndAreOutPastMinus88) {
    // Screen width, x and speed, then x after a tick and whether the player is still in.
    // clang-format off
    const std::tuple<int, float, float, float, bool> cases[] = {
        {1024, 500, 13, 512, true}, {1025, 512, 1, 512, true}, {1024, 100, -3, 97, true},
        {1024, -87, -1, -88, true}, {1024, -87.5f, -1, -88.5f, false}, {1024, 510, 0.1f, 510.1f, true},
    };
    // clang-format on
    for (const auto& [screen, x, speed, later, in] : cases) {
        screenWidth = screen;
        players[0] = Player{};
        players[0].x = x;
        players[0].y = floorY;
        players[0].speed = speed;
        movePlayers();
        EXPECT_FLOAT_EQ(players[0].x, later) << x;
        EXPECT_EQ(players[0].alive, in) << x;
    }
    // A stunned player is carried past the line and is out at its first tick of motion.
    players[0] = Player{};
    players[0].x = -80;
    players[0].hitTimer = 90;
    after(11);
    EXPECT_TRUE(players[0].alive);
    after(1);
    EXPECT_FALSE(players[0].alive);
}

TEST_F(Motion, NightFallsAtEachThousandForFiveHundredPoints) {
    // Score, then night (1), day (0) or as it was (-1).
    // clang-format off
    const std::pair<double, int> scores[] = {
        {0, 0}, {500, 0}, {999, -1}, {1000, 1}, {1499, -1}, {1500, 0},
        {2000, 1}, {2500, 0}, {3000, 1}, {3001, -1}, {1000.7, 1},
    };
    // clang-format on
    for (const auto& [points, night] : scores) {
        for (bool before : {false, true}) {
            score = points;
            inkColor = before ? sf::Color::White : sf::Color::Black;
            backgroundColor = before ? sf::Color::Black : sf::Color::White;
            movePlayers();
            const bool now = night < 0 ? before : night == 1;
            EXPECT_EQ(inkColor, now ? sf::Color::White : sf::Color::Black) << points;
            EXPECT_EQ(backgroundColor, now ? sf::Color::Black : sf::Color::White) << points;
        }
    }
}
