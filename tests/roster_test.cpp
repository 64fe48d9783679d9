// Records, colours, the action lookups and the match's control handlers.
#include "support.hpp"

using sf::Keyboard;

class Roster : public GameTest {};

TEST_F(Roster, ColourTableHoldsThirteenPairsAndNightIsTheInverse) {
    EXPECT_TRUE(sameColor(playerColor(0, false), sf::Color::Black));
    EXPECT_TRUE(sameColor(playerColor(0, true), sf::Color::White));
    EXPECT_TRUE(sameColor(playerColor(1, true), sf::Color(0, 255, 255)));
    EXPECT_TRUE(sameColor(playerColor(7, true), sf::Color(127, 127, 127)));
    EXPECT_TRUE(sameColor(playerColor(12, false), sf::Color(128, 255, 0)));
    EXPECT_TRUE(sameColor(playerColor(12, true), sf::Color(127, 0, 255)));
    for (int entry = 0; entry < playerColorCount; ++entry) {
        EXPECT_EQ(playerColors[entry].a, 255) << entry;
        if (entry >= 26) {
            EXPECT_TRUE(sameColor(playerColors[entry], sf::Color::Black)) << entry;
        }
    }
}

TEST_F(Roster, PlayersPastTheColourTableReuseItFromTheStart) {
    EXPECT_TRUE(sameColor(playerColor(49, false), sf::Color::Black));
    EXPECT_TRUE(sameColor(playerColor(50, false), playerColor(0, false)));
    EXPECT_TRUE(sameColor(playerColor(51, true), playerColor(1, true)));
    EXPECT_TRUE(sameColor(playerColor(1000 * 50 + 2, false), sf::Color::Green));
}

TEST_F(Roster, KeyLookupPicksTheLowestPlayerAndTheFirstControl) {
    addKeyboardPlayer(Keyboard::J, Keyboard::J, Keyboard::L, Keyboard::M);
    addKeyboardPlayer(Keyboard::A, Keyboard::S, Keyboard::L, Keyboard::L);
    addJoystickPlayer(Keyboard::B, Keyboard::B, Keyboard::B, Keyboard::B, Keyboard::B, 0);

    PlayerAction found = findKeyAction(Keyboard::J);
    EXPECT_EQ(found.playerIndex, 0);
    EXPECT_EQ(found.action, "jump") << "jump beats down on the same key";
    found = findKeyAction(Keyboard::L);
    EXPECT_EQ(found.playerIndex, 0) << "the lower player wins a shared key";
    EXPECT_EQ(found.action, "left");
    found = findKeyAction(Keyboard::S);
    EXPECT_EQ(found.playerIndex, 1);
    EXPECT_EQ(found.action, "down");
    EXPECT_EQ(findKeyAction(Keyboard::M).action, "right");
    EXPECT_TRUE(findKeyAction(Keyboard::Q).action.empty());
    EXPECT_TRUE(findKeyAction(Keyboard::B).action.empty())
        << "a joystick player's number never matches a key";
}

TEST_F(Roster, ButtonLookupTakesTheJoystickFromTheEventAndSkipsAxisSteerers) {
    addKeyboardPlayer(Keyboard::A, Keyboard::B, Keyboard::C, Keyboard::D);
    addJoystickPlayer(1, 4, 5, noButton, 0, sf::Joystick::X);
    addJoystickPlayer(1, 6, 6, 0, 2, 0);
    addJoystickPlayer(2, 4, 5, 6, 7, 0);

    event = buttonPressed(1, 4);
    PlayerAction found = findButtonAction(4);
    EXPECT_EQ(found.playerIndex, 1);
    EXPECT_EQ(found.action, "jump");
    event = buttonPressed(1, 0);
    found = findButtonAction(0);
    EXPECT_EQ(found.playerIndex, 2) << "an axis steerer's right slot 0 is not a button";
    EXPECT_EQ(found.action, "left");
    event = buttonPressed(1, 6);
    EXPECT_EQ(findButtonAction(6).action, "jump");
    event = buttonPressed(2, 7);
    found = findButtonAction(7);
    EXPECT_EQ(found.playerIndex, 3);
    EXPECT_EQ(found.action, "right");
    event = buttonPressed(0, Keyboard::A);
    EXPECT_TRUE(findButtonAction(Keyboard::A).action.empty())
        << "a button never matches a keyboard player";
    event = buttonPressed(3, 4);
    EXPECT_TRUE(findButtonAction(4).action.empty());
}

TEST_F(Roster, KeysSetSpeedFlagsAndTheLatestPressOrAnyReleaseWins) {
    addKeyboardPlayer(Keyboard::Up, Keyboard::Down, Keyboard::Left, Keyboard::Right);
    Player& player = players[0];
    player.onPlatform = true;

    auto handle = [](const sf::Event& e) {
        event = e;
        handleMatchKeyEvent();
    };
    handle(keyPressed(Keyboard::Left));
    EXPECT_EQ(player.speed, -1.0f);
    handle(keyPressed(Keyboard::Right));
    EXPECT_EQ(player.speed, 1.0f);
    handle(keyReleased(Keyboard::Left));
    EXPECT_EQ(player.speed, 0.0f) << "any release of left or right stops the player";

    handle(keyPressed(Keyboard::Up));
    EXPECT_TRUE(player.jumpPressed);
    handle(keyReleased(Keyboard::Up));
    EXPECT_FALSE(player.jumpPressed) << "a release before the tick drops the jump request";

    handle(keyPressed(Keyboard::Down));
    EXPECT_TRUE(player.downPressed);
    EXPECT_FALSE(player.onPlatform);
    handle(keyReleased(Keyboard::Down));
    EXPECT_FALSE(player.downPressed);

    handle(buttonPressed(0, Keyboard::Up));
    EXPECT_FALSE(player.jumpPressed) << "joystick events are not keys";
}

TEST_F(Roster, EscapeInAMatchClearsTheRunningFlagAndIsStillLookedUp) {
    addKeyboardPlayer(Keyboard::Escape, Keyboard::S, Keyboard::A, Keyboard::D);
    matchRunning = true;
    event = keyPressed(Keyboard::Escape);
    handleMatchKeyEvent();
    EXPECT_FALSE(matchRunning);
    EXPECT_TRUE(players[0].jumpPressed);
    matchRunning = true;
    event = buttonPressed(0, Keyboard::Escape);
    handleMatchJoystickEvent();
    EXPECT_TRUE(matchRunning);
}

TEST_F(Roster, ButtonsActLikeKeysForTheirPlayer) {
    addJoystickPlayer(0, 1, 2, 3, 4, sf::Joystick::X);
    Player& player = players[0];
    auto handle = [](const sf::Event& e) {
        event = e;
        handleMatchJoystickEvent();
    };
    handle(buttonPressed(0, 4));
    EXPECT_EQ(player.speed, 1.0f);
    handle(buttonPressed(0, 3));
    EXPECT_EQ(player.speed, -1.0f);
    handle(buttonReleased(0, 4));
    EXPECT_EQ(player.speed, 0.0f);
    handle(buttonPressed(0, 1));
    EXPECT_TRUE(player.jumpPressed);
    handle(buttonReleased(0, 1));
    EXPECT_FALSE(player.jumpPressed);
    player.onPlatform = true;
    handle(buttonPressed(0, 2));
    EXPECT_TRUE(player.downPressed);
    EXPECT_FALSE(player.onPlatform);
    handle(keyPressed(Keyboard::B));
    EXPECT_TRUE(player.downPressed) << "key events are not buttons";
}

TEST_F(Roster, AxisSteeringWritesItsTraceAndTakesTheLivePosition) {
    addKeyboardPlayer(Keyboard::A, Keyboard::B, Keyboard::C, Keyboard::D);
    addJoystickPlayer(0, 4, 5, noButton, 0, sf::Joystick::X);

    // The event carries -100, but the live position is what counts.
    scriptAxis(0, sf::Joystick::X, -50.0f);
    event = axisMoved(0, sf::Joystick::X, -100.0f);
    ::testing::internal::CaptureStderr();
    handleMatchJoystickEvent();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Checking axis for player 0\n"
                                                        "Checking axis for player 1\n"
                                                        "Checking axis for player 1\n"
                                                        "Axis value: -0.5\n");
    EXPECT_EQ(players[1].speed, -0.5f);

    scriptAxis(0, sf::Joystick::X, 12.3457f);
    ::testing::internal::CaptureStderr();
    handleMatchJoystickEvent();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Axis value: 0.123457\n"),
              std::string::npos);

    // Another joystick, and another axis of the same joystick, steer nobody.
    players[1].speed = 0.25f;
    event = axisMoved(3, sf::Joystick::X, 80.0f);
    ::testing::internal::CaptureStderr();
    handleMatchJoystickEvent();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Checking axis for player 0\nChecking axis for player 1\n");
    event = axisMoved(0, sf::Joystick::Y, 80.0f);
    ::testing::internal::CaptureStderr();
    handleMatchJoystickEvent();
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(players[1].speed, 0.25f);
}

TEST_F(Roster, AxisOfAJoystickNumberBeyondTheLibrarysRangeReadsAsCentred) {
    addJoystickPlayer(9, 4, 5, 6, 7, sf::Joystick::X);
    players[0].speed = 1.0f;
    event = axisMoved(9, sf::Joystick::X, 100.0f);
    ::testing::internal::CaptureStderr();
    handleMatchJoystickEvent();
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(players[0].speed, 0.0f);
    EXPECT_EQ(readAxis(8, 0), 0.0f);
    EXPECT_EQ(readAxis(0, sf::Joystick::AxisCount), 0.0f);
}
