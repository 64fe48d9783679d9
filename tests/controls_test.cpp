// Controls in a match: which player and control a key or button belongs to, what presses and
// releases do to that player, and steering by an axis, traced to standard error.
#include "support.hpp"

class Controls : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        addPlayer("JJLM");
        addPlayer("ASLD");
        addPlayer({1, 4, 5, noButton, 0, sf::Joystick::X});
        addPlayer({1, 6, 7, 8, 9, sf::Joystick::Y});
        addPlayer({2, 4, 5, 6, 7});
        addPlayer({12, 1, 2, 3, 4});
    }
};

TEST_F(Controls, TheFirstPlayerAndControlOfAKeyOrButtonTakeItsPressesAndReleasesAndAxesSteerLive) {
    // Words, the player they steer (-1 none), and its speed, jump request, down request and
    // whether it still stands on a cloud; everyone starts at speed 0.5 on a cloud. Keys and
    // buttons belong to the lowest player and its first control, an axis player has no left
    // and right buttons, and joysticks never take each other's buttons or axes. The loss of the
    // focus lets go of the keys held, and of nothing else. A joystick unplugged lets go of
    // everything its player held, buttons and axis, whatever its number; its presses and moves do
    // nothing until it is plugged in again. A keyboard player never goes: not even for a joystick
    // whose number is its first key's code (J is 9). A button player's taught axis steers too,
    // and no other; a release stops even a deflected stick.
    // clang-format off
    const std::tuple<const char*, int, const char*> cases[] = {
        {"L", 0, "-1 0 0 1"}, {"M", 0, "1 0 0 1"}, {"L M", 0, "1 0 0 1"}, {"M ~L", 0, "0 0 0 1"},
        {"M ~M", 0, "0 0 0 1"}, {"J", 0, "0.5 1 0 1"}, {"A ~A", 1, "0.5 0 0 1"},
        {"S", 1, "0.5 0 1 0"}, {"S ~S", 1, "0.5 0 0 0"}, {"D", 1, "1 0 0 1"},
        {"1:4", 2, "0.5 1 0 1"}, {"1:5", 2, "0.5 0 1 0"}, {"1:8", 3, "-1 0 0 1"},
        {"1:9", 3, "1 0 0 1"}, {"1:9 ~1:8", 3, "0 0 0 1"}, {"1:6 ~1:6", 3, "0.5 0 0 1"},
        {"1:7 ~1:7", 3, "0.5 0 0 0"}, {"2:6", 4, "-1 0 0 1"}, {"B", -1, ""},
        {"0:0 2:9 1:0 ~1:0 2:8", -1, ""}, {"2:X=40", 4, "0.4 0 0 1"},
        {"D A S blur", 1, "0 0 0 0"}, {"blur", -1, ""},
        {"1:9 1:6 1:7 blur", 3, "1 1 1 0"}, {"2:7 2:4 2:5 -2", 4, "0 0 0 0"},
        {"2:X=40 -2", 4, "0 0 0 1"}, {"-2 2:6 2:4 2:5 2:X=90", 4, "0 0 0 1"},
        {"-2 +2 2:6", 4, "-1 0 0 1"}, {"12:4 12:1 -12", 5, "0 0 0 1"},
        {"-12 12:3 +12 12:1", 5, "0 1 0 1"}, {"L -9 -0", 0, "-1 0 0 1"}, {"-9 J", 0, "0.5 1 0 1"},
        {"1:Y=80 3:X=100", 3, "0.8 0 0 1"}, {"1:Y=80 ~1:8", 3, "0 0 0 1"}};
    // clang-format on
    for (const auto& [words, player, after] : cases) {
        for (Player& p : players) {
            p.speed = 0.5f;
            p.onPlatform = true;
            p.jumpPressed = p.downPressed = p.absent = false;
        }
        script(std::string(words) + " |");
        handleMatchEvents();
        for (const Player& p : players) {
            std::ostringstream state;
            state << p.speed << ' ' << p.jumpPressed << ' ' << p.downPressed << ' ' << p.onPlatform;
            EXPECT_EQ(state.str(), p.index == player ? after : "0.5 0 0 1") << words << p.index;
        }
    }
    testing::internal::CaptureStderr();
    script("1:X=-50 |");
    handleMatchEvents();
    // Meant: each player checked is named, and a player of the moved joystick twice.
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Checking axis for player 0\nChecking axis for player 1\nChecking axis for player 2\n"
              "Checking axis for player 2\nAxis value: -0.5\n");
    // The axis's live position steers, not the one the event reports.
    event = eventOf("1:X=100");
    handleMatchJoystickEvent();
    EXPECT_EQ(players[2].speed, -0.5f);
}
