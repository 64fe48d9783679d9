// The dinosaurs' motion, tick by tick: running, jumping, ducking, falling, clouds, the stun,
// the edges of the play field, and day and night by the score.
#include "support.hpp"

namespace {

// Sets player 0's requests ('j' jump, 'd' down), runs n ticks of motion and gives its x, its y
// as an offset from the floor line, and "jumping", "asked" for a jump request still pending
// and "out".
std::string after(int n, const std::string& requests = "") {
    Player& p = players[0];
    p.jumpPressed = p.jumpPressed || requests.find('j') != std::string::npos;
    p.downPressed = p.downPressed || requests.find('d') != std::string::npos;
    for (int i = 0; i < n; ++i) {
        movePlayers();
    }
    std::ostringstream where;
    where << p.x << " " << p.y - floorY << (p.jumping ? " jumping" : "")
          << (p.jumpPressed ? " asked" : "") << (p.alive ? "" : " out");
    return where.str();
}

} // namespace

class Motion : public MatchTest {};

TEST_F(Motion, AJumpRisesFivePerTickForSixtyOneTicksThenFallsBackToTheFloor) {
    EXPECT_EQ(after(1, "j"), "30 -5 jumping");
    EXPECT_EQ(after(29), "30 -150 jumping");
    EXPECT_EQ(after(30, "j"), "30 -300 jumping") << "a request made in the air is dropped";
    EXPECT_EQ(after(1), "30 -305") << "the 61st tick is the last going up";
    EXPECT_EQ(after(60), "30 -5");
    EXPECT_EQ(after(5), "30 0") << "the floor holds";
}

TEST_F(Motion, DownEndsAJumpAndDropsThirtyPerTickButNotOnTheFloor) {
    EXPECT_EQ(after(10, "j"), "30 -50 jumping");
    EXPECT_EQ(after(1, "d"), "30 -20") << "25 down, then the fall of 5";
    EXPECT_EQ(after(1), "30 0") << "clamped to the floor";
    EXPECT_EQ(after(1, "j"), "30 0") << "a jump requested while down is held is consumed";
}

TEST_F(Motion, AJumpStartsOnlyFromTheFloorLineOrACloud) {
    players[0].y = floorY + 5.0f; // a match's start
    EXPECT_EQ(after(1, "j"), "30 0") << "no jump, but the floor clamp";
    players[0].y = floorY + 0.5f;
    EXPECT_EQ(after(1, "j"), "30 0");
    place(0, 0, 400).onPlatform = true;
    EXPECT_EQ(after(1, "j"), "0 -333 jumping");
    EXPECT_EQ(players[0].jumpStartY, 400.0f);
}

TEST_F(Motion, ACloudCarriesItsPlayerAgainstDownAndDroppingOffItFalls) {
    addEntity("cloud", 0, 600, 112, 222);
    place(0, 0, 400.5f); // the floor line is at 728
    EXPECT_EQ(after(60), "0 -132.5") << "caught falling, at 595.5";
    EXPECT_EQ(after(3, "d"), "0 -132.5");
    entities[0].x = 300;
    EXPECT_EQ(after(1), "0 -102.5") << "off the cloud, down drops 25 and 5";
}

TEST_F(Motion, AHammerStunsForAHundredTicksAndOneWhileTheWorldCarriesThePlayer) {
    Player& p = place(0, 300, floorY - 100);
    p.speed = 1;
    p.hitTimer = 0;
    EXPECT_EQ(after(100, "j"), "200 -100 asked") << "drifts with the world, hangs, ignores";
    EXPECT_EQ(after(1), "200 -100 asked") << "then one tick without motion";
    EXPECT_EQ(after(1), "201 -95");
    // A stunned player is carried past the line and is out at its first tick of motion.
    place(0, -80, floorY).hitTimer = 90;
    EXPECT_EQ(after(11), "-90 0");
    EXPECT_EQ(after(1), "-90 0 out");
}

TEST_F(Motion, PlayersStayLeftOfHalfTheScreenAndAreOutPastMinus88) {
    // Screen width, x and speed, then x after a tick and whether the player is out.
    // clang-format off
    const std::tuple<int, float, float, const char*> cases[] = {
        {1024, 500, 13, "512 0"}, {1025, 512, 1, "512 0"}, {1024, 100, -3, "97 0"},
        {1024, -87, -1, "-88 0"}, {1024, -87.5f, -1, "-88.5 0 out"}, {1024, 510, 0.1f, "510.1 0"}};
    // clang-format on
    for (const auto& [screen, x, speed, later] : cases) {
        screenWidth = screen;
        place(0, x, floorY).speed = speed;
        EXPECT_EQ(after(1), later);
    }
}

TEST_F(Motion, NightFallsAtEachThousandForFiveHundredPoints) {
    // Score, then night (1), day (0) or as it was (-1).
    // clang-format off
    const std::pair<double, int> scores[] = {
        {0, 0}, {500, 0}, {999, -1}, {1000, 1}, {1499, -1}, {1500, 0},
        {2000, 1}, {2500, 0}, {3000, 1}, {3001, -1}, {1000.7, 1}};
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
