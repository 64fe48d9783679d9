// Controls: which player and control a key or button belongs to, what presses and releases do
// to a player in a match, and steering by an axis.
#include "support.hpp"

using sf::Event;
using sf::Keyboard;

namespace {

void handle(const Event& e) {
    event = e;
    handleMatchKeyEvent();
    handleMatchJoystickEvent();
}

Event key(bool press, Keyboard::Key k) {
    return keyEvent(press ? Event::KeyPressed : Event::KeyReleased, k);
}

Event button(bool press, unsigned int joystickId, unsigned int b) {
    return buttonEvent(press ? Event::JoystickButtonPressed : Event::JoystickButtonReleased,
                       joystickId, b);
}

} // namespace

class Controls : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        addKeyboardPlayer(Keyboard::J, Keyboard::J, Keyboard::L, Keyboard::M);
        addKeyboardPlayer(Keyboard::A, Keyboard::S, Keyboard::L, Keyboard::D);
        addJoystickPlayer({1, 4, 5, noButton, 0, sf::Joystick::X});
        addJoystickPlayer({1, 6, 7, 8, 9, sf::Joystick::Y});
        addJoystickPlayer({2, 4, 5, 6, 7});
    }
};

TEST_F(Controls, TheLowestPlayerAndTheFirstControlWinAndDevicesNeverMix) {
    auto keyFound = [](Keyboard::Key k) {
        const PlayerAction found = findKeyAction(k);
        return found.action.empty() ? "-" : std::to_string(found.playerIndex) + found.action;
    };
    auto buttonFound = [](unsigned int joystickId, unsigned int b) {
        event = button(true, joystickId, b);
        const PlayerAction found = findButtonAction(b);
        return found.action.empty() ? "-" : std::to_string(found.playerIndex) + found.action;
    };
    EXPECT_EQ(keyFound(Keyboard::J), "0jump") << "jump before down";
    EXPECT_EQ(keyFound(Keyboard::L), "0left") << "the lower player";
    EXPECT_EQ(keyFound(Keyboard::M), "0right");
    EXPECT_EQ(keyFound(Keyboard::S), "1down");
    EXPECT_EQ(keyFound(Keyboard::D), "1right");
    EXPECT_EQ(keyFound(Keyboard::B), "-") << "joystick 1 is not key B";
    EXPECT_EQ(buttonFound(1, 4), "2jump");
    EXPECT_EQ(buttonFound(1, 5), "2down");
    EXPECT_EQ(buttonFound(1, 0), "-") << "an axis steerer has no left or right button";
    EXPECT_EQ(buttonFound(1, 8), "3left");
    EXPECT_EQ(buttonFound(1, 9), "3right");
    EXPECT_EQ(buttonFound(2, 6), "4left") << "each joystick its own buttons";
    EXPECT_EQ(buttonFound(0, Keyboard::A), "-") << "buttons never match keys";
}

TEST_F(Controls, PressesAndReleasesSetSpeedAndTheJumpAndDownRequests) {
    struct Case {
        const char* why;
        Event first, second;
        int player;
        float speed;
        bool jump, down, onPlatform;
    };
    const Case cases[] = {
        {"left key", key(true, Keyboard::L), key(true, Keyboard::L), 0, -1, false, false, true},
        {"right key", key(true, Keyboard::M), key(true, Keyboard::M), 0, 1, false, false, true},
        {"the latest press", key(true, Keyboard::L), key(true, Keyboard::M), 0, 1, 0, 0, true},
        {"any release stops", key(true, Keyboard::M), key(false, Keyboard::L), 0, 0, 0, 0, true},
        {"right released", key(true, Keyboard::M), key(false, Keyboard::M), 0, 0, 0, 0, true},
        {"jump key", key(true, Keyboard::A), key(true, Keyboard::A), 1, 0.5f, true, false, true},
        {"jump released", key(true, Keyboard::A), key(false, Keyboard::A), 1, 0.5f, 0, 0, true},
        {"down key", key(true, Keyboard::S), key(true, Keyboard::S), 1, 0.5f, false, true, false},
        {"down released", key(true, Keyboard::S), key(false, Keyboard::S), 1, 0.5f, 0, 0, false},
        {"left button", button(true, 1, 8), button(true, 1, 8), 3, -1, false, false, true},
        {"right button", button(true, 1, 9), button(true, 1, 9), 3, 1, false, false, true},
        {"button released", button(true, 1, 9), button(false, 1, 8), 3, 0, false, false, true},
        {"jump button", button(true, 1, 6), button(true, 1, 6), 3, 0.5f, true, false, true},
        {"jump released", button(true, 1, 6), button(false, 1, 6), 3, 0.5f, 0, 0, true},
        {"down button", button(true, 1, 7), button(true, 1, 7), 3, 0.5f, false, true, false},
        {"down released", button(true, 1, 7), button(false, 1, 7), 3, 0.5f, 0, 0, false},
        {"another joystick", button(true, 2, 8), button(true, 2, 9), 3, 0.5f, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        for (Player& p : players) {
            p.speed = 0.5f;
            p.onPlatform = true;
            p.jumpPressed = p.downPressed = false;
        }
        handle(c.first);
        handle(c.second);
        for (int q = 0; q < playerCount; ++q) {
            const Player& p = players[static_cast<std::size_t>(q)];
            const bool target = q == c.player;
            EXPECT_EQ(p.speed, target ? c.speed : 0.5f) << q;
            EXPECT_EQ(p.jumpPressed, target && c.jump) << q;
            EXPECT_EQ(p.downPressed, target && c.down) << q;
            EXPECT_EQ(p.onPlatform, !target || c.onPlatform) << q;
        }
    }
}

TEST_F(Controls, EscapeEndsTheMatchAndTheWindowCloseRequestDoesNot) {
    matchRunning = true;
    handle(closeRequest());
    EXPECT_TRUE(matchRunning);
    EXPECT_TRUE(window.isOpen());
    handle(key(true, Keyboard::Escape));
    EXPECT_FALSE(matchRunning);
}

TEST_F(Controls, AnAxisSteersItsPlayerByTheLivePositionAndTracesEachPlayer) {
    auto move = [](unsigned int joystickId, sf::Joystick::Axis axis, float live) {
        scriptAxis(joystickId, axis, live);
        testing::internal::CaptureStderr();
        handle(axisMoved(joystickId, axis, 100.0f));
        return testing::internal::GetCapturedStderr();
    };
    std::string trace;
    for (int p = 0; p < 5; ++p) {
        trace += "Checking axis for player " + std::to_string(p) + "\n";
        if (p == 2) {
            trace += trace.substr(trace.rfind("Checking")) + "Axis value: -0.5\n";
            break;
        }
    }
    EXPECT_EQ(move(1, sf::Joystick::X, -50.0f), trace);
    EXPECT_EQ(players[2].speed, -0.5f);
    EXPECT_EQ(players[3].speed, 0.0f);
    move(1, sf::Joystick::Y, 80.0f);
    EXPECT_FLOAT_EQ(players[3].speed, 0.8f) << "a button player's taught axis steers too";
    EXPECT_EQ(players[2].speed, -0.5f) << "another axis steers nobody else";
    EXPECT_EQ(move(3, sf::Joystick::X, 100.0f).find("Axis"), std::string::npos);
    handle(button(false, 1, 8));
    EXPECT_EQ(players[3].speed, 0.0f) << "a release stops even a deflected stick";
}
