// The action lookups and the match's control handlers.
#include "support.hpp"

using sf::Event;
using sf::Keyboard;

class Roster : public GameTest {};

TEST_F(Roster, LookupsPickTheLowestPlayerTheFirstControlAndTheRightDevice) {
    addKeyboardPlayer(Keyboard::J, Keyboard::J, Keyboard::L, Keyboard::M);
    addKeyboardPlayer(Keyboard::A, Keyboard::S, Keyboard::L, Keyboard::L);
    addJoystickPlayer({1, 4, 5, noButton, 0, sf::Joystick::X});
    addJoystickPlayer({1, 6, 6, 0, 4});

    auto key = [](Keyboard::Key k) {
        const PlayerAction found = findKeyAction(k);
        return std::to_string(found.playerIndex) + found.action;
    };
    EXPECT_EQ(key(Keyboard::J), "0jump") << "jump beats down";
    EXPECT_EQ(key(Keyboard::L), "0left") << "the lower player wins a shared key";
    EXPECT_EQ(key(Keyboard::S), "1down");
    EXPECT_EQ(findKeyAction(Keyboard::B).action, "") << "joystick number 1 is not key B";

    auto button = [](unsigned int joystickId, unsigned int b) {
        event = buttonEvent(Event::JoystickButtonPressed, joystickId, b);
        const PlayerAction found = findButtonAction(b);
        return std::to_string(found.playerIndex) + found.action;
    };
    EXPECT_EQ(button(1, 4), "2jump") << "the lower player wins a shared button";
    EXPECT_EQ(button(1, 0), "3left") << "an axis steerer has no left or right button";
    EXPECT_EQ(button(1, 6), "3jump");
    EXPECT_EQ(button(0, Keyboard::A), "0") << "buttons never match keys";
    EXPECT_EQ(button(2, 4), "0") << "another joystick";
}

TEST_F(Roster, TheLatestPressOrAnyReleaseSetsSpeedAndEscapeEndsTheMatch) {
    addKeyboardPlayer(Keyboard::Up, Keyboard::Down, Keyboard::Left, Keyboard::Right);
    addJoystickPlayer({0, 1, 2, 3, 4});
    Player& keys = players[0];
    Player& pad = players[1];
    auto handle = [](const Event& e) {
        event = e;
        handleMatchKeyEvent();
        handleMatchJoystickEvent();
    };
    handle(keyEvent(Event::KeyPressed, Keyboard::Left));
    handle(keyEvent(Event::KeyPressed, Keyboard::Right));
    EXPECT_EQ(keys.speed, 1.0f);
    handle(keyEvent(Event::KeyReleased, Keyboard::Left));
    EXPECT_EQ(keys.speed, 0.0f) << "any release of left or right stops";
    handle(keyEvent(Event::KeyPressed, Keyboard::Up));
    handle(keyEvent(Event::KeyReleased, Keyboard::Up));
    EXPECT_FALSE(keys.jumpPressed) << "a release before the tick drops the request";
    keys.onPlatform = true;
    handle(keyEvent(Event::KeyPressed, Keyboard::Down));
    EXPECT_TRUE(keys.downPressed && !keys.onPlatform);

    handle(buttonEvent(Event::JoystickButtonPressed, 0, 3));
    EXPECT_EQ(pad.speed, -1.0f);
    handle(buttonEvent(Event::JoystickButtonPressed, 0, 1));
    EXPECT_TRUE(pad.jumpPressed);
    EXPECT_FALSE(keys.jumpPressed) << "button 1 is not key 1";

    matchRunning = true;
    handle(keyEvent(Event::KeyPressed, Keyboard::Escape));
    EXPECT_FALSE(matchRunning);
}

TEST_F(Roster, AxisSteeringTracesEachPlayerAndTakesTheLivePosition) {
    addKeyboardPlayer(Keyboard::A, Keyboard::B, Keyboard::C, Keyboard::D);
    addJoystickPlayer({0, 4, 5, noButton, 0, sf::Joystick::X});
    addJoystickPlayer({9, 4, 5, 6, 7, sf::Joystick::X});
    auto move = [](unsigned int joystickId, sf::Joystick::Axis axis, float live) {
        scriptAxis(joystickId, axis, live);
        event = axisMoved(joystickId, axis, 100.0f);
        ::testing::internal::CaptureStderr();
        handleMatchJoystickEvent();
        return ::testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(move(0, sf::Joystick::X, -50.0f), "Checking axis for player 0\n"
                                                "Checking axis for player 1\n"
                                                "Checking axis for player 1\n"
                                                "Axis value: -0.5\n");
    EXPECT_EQ(players[1].speed, -0.5f);
    EXPECT_NE(move(0, sf::Joystick::X, 12.3457f).find("Axis value: 0.123457\n"), std::string::npos);
    move(0, sf::Joystick::Y, 80.0f);
    EXPECT_FLOAT_EQ(players[1].speed, 0.123457f) << "another axis steers nobody";

    // Joystick numbers past the library's range are never passed on to it.
    players[2].speed = 1.0f;
    move(9, sf::Joystick::X, 0.0f);
    EXPECT_EQ(players[2].speed, 0.0f);
}
