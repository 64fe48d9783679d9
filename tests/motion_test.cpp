// The dinosaurs' motion, tick by tick: running, jumping, ducking, falling, clouds, the stun,
// the edges of the play field, and day and night by the score.
#include "support.hpp"

namespace {

void ticks(int n) {
    for (int i = 0; i < n; ++i) {
        movePlayers();
    }
}

} // namespace

class Motion : public MatchTest {};

TEST_F(Motion, AJumpRisesFivePerTickForSixtyOneTicksThenFallsBackToTheFloor) {
    Player& p = players[0];
    p.jumpPressed = true;
    int rising = 0;
    do {
        movePlayers();
        ++rising;
        p.jumpPressed = rising == 30; // a request in the air is dropped
        if (rising == 1) {
            EXPECT_EQ(p.y, floorY - 5.0f);
        }
    } while (p.jumping);
    EXPECT_EQ(rising, 61);
    EXPECT_EQ(p.y, floorY - 305.0f);
    EXPECT_FALSE(p.jumpPressed) << "the request in the air was taken";
    ticks(60);
    EXPECT_EQ(p.y, floorY - 5.0f);
    ticks(1);
    EXPECT_EQ(p.y, floorY);
    ticks(5);
    EXPECT_EQ(p.y, floorY) << "the floor holds";
}

TEST_F(Motion, DownEndsAJumpAndDropsThirtyPerTickButNotOnTheFloor) {
    Player& p = players[0];
    p.jumpPressed = true;
    ticks(10);
    ASSERT_EQ(p.y, floorY - 50.0f);
    p.downPressed = true;
    movePlayers();
    EXPECT_FALSE(p.jumping);
    EXPECT_EQ(p.y, floorY - 20.0f) << "25 down, then the fall of 5";
    ticks(1);
    EXPECT_EQ(p.y, floorY) << "clamped to the floor";
    p.jumpPressed = true;
    movePlayers();
    EXPECT_EQ(p.y, floorY) << "a jump requested while down is held is consumed";
    EXPECT_FALSE(p.jumpPressed || p.jumping);
}

TEST_F(Motion, AJumpStartsOnlyFromTheFloorLineOrACloud) {
    Player& p = players[0];
    p.y = floorY + 5.0f; // a match's start
    p.jumpPressed = true;
    movePlayers();
    EXPECT_FALSE(p.jumping);
    EXPECT_EQ(p.y, floorY) << "the floor clamp of that tick";
    p.y = 400.0f;
    p.onPlatform = true;
    p.jumpPressed = true;
    movePlayers();
    EXPECT_TRUE(p.jumping);
    EXPECT_EQ(p.jumpStartY, 400.0f);
    EXPECT_EQ(p.y, 395.0f);
}

TEST_F(Motion, ACloudCarriesItsPlayerAgainstDownAndDroppingOffItFalls) {
    addEntity("cloud", 0, 600, 112, 222);
    Player& p = players[0];
    p.x = 0;
    p.y = 400.5f;
    ticks(60);
    EXPECT_EQ(p.y, 595.5f) << "caught on the way down";
    p.downPressed = true;
    ticks(3);
    EXPECT_EQ(p.y, 595.5f) << "down doesn't push through a cloud";
    entities[0].x = 300;
    ticks(1);
    EXPECT_EQ(p.y, 625.5f) << "no cloud under it: down drops 25, then 5";
}

TEST_F(Motion, AHammerStunsForAHundredTicksAndOneWhileTheWorldCarriesThePlayer) {
    Player& p = players[0];
    p.x = 300;
    p.y = 500;
    p.speed = 1;
    p.jumpPressed = true;
    p.hitTimer = 0;
    ticks(100);
    EXPECT_EQ(p.x, 200.0f) << "drifts with the world, -1 a tick";
    EXPECT_EQ(p.y, 500.0f) << "hangs in the air";
    EXPECT_TRUE(p.jumpPressed) << "ignores its controls";
    ticks(1);
    EXPECT_EQ(p.x, 200.0f) << "one tick without motion";
    EXPECT_EQ(p.hitTimer, -1);
    ticks(1);
    EXPECT_EQ(p.x, 201.0f);
    EXPECT_EQ(p.y, 505.0f);
    EXPECT_FALSE(p.jumpPressed);
}

TEST_F(Motion, PlayersStayLeftOfHalfTheScreenAndAreOutPastMinus88) {
    struct Case {
        int screen;
        float x, speed;
        float after;
        bool alive;
    };
    const Case cases[] = {
        {1024, 500, 13, 512, true},        {1025, 512, 1, 512, true},
        {1024, 100, -3, 97, true},         {1024, -87, -1, -88, true},
        {1024, -87.5f, -1, -88.5f, false}, {1024, 510, 0.1f, 510.1f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        screenWidth = c.screen;
        players[0] = Player{};
        players[0].x = c.x;
        players[0].y = floorY;
        players[0].speed = c.speed;
        movePlayers();
        EXPECT_FLOAT_EQ(players[0].x, c.after);
        EXPECT_EQ(players[0].alive, c.alive);
    }
    // A stunned player is carried past the line and is out at its first tick of motion.
    players[0] = Player{};
    players[0].x = -80;
    players[0].hitTimer = 90;
    ticks(11);
    EXPECT_TRUE(players[0].alive);
    ticks(1);
    EXPECT_FALSE(players[0].alive);
}

TEST_F(Motion, NightFallsAtEachThousandForFiveHundredPoints) {
    // Score → night, day, or as it was (-1).
    const std::pair<double, int> scores[] = {{0, 0},     {500, 0},   {999, -1},  {1000, 1},
                                             {1499, -1}, {1500, 0},  {2000, 1},  {2500, 0},
                                             {3000, 1},  {3001, -1}, {1000.7, 1}};
    for (const auto& [points, night] : scores) {
        for (bool before : {false, true}) {
            SCOPED_TRACE(points);
            score = points;
            inkColor = before ? sf::Color::White : sf::Color::Black;
            backgroundColor = before ? sf::Color::Black : sf::Color::White;
            movePlayers();
            const bool now = night < 0 ? before : night == 1;
            EXPECT_EQ(inkColor, now ? sf::Color::White : sf::Color::Black);
            EXPECT_EQ(backgroundColor, now ? sf::Color::Black : sf::Color::White);
        }
    }
}
