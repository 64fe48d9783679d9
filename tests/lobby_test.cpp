// The lobby: its dispatch of joins and ready marks, the start of a match, and the figures
// laid out and tinted for any number of players.
#include "support.hpp"

#include <cmath>

using sf::Event;
using sf::Keyboard;

class Lobby : public GameTest {};

TEST_F(Lobby, UnknownKeysJoinJumpAndDownMarkAndTheMatchClearsTheMarks) {
    // The first J only starts the join; the four keys come after it.
    scriptPresses({Keyboard::J, Keyboard::W, Keyboard::W, Keyboard::S, Keyboard::S, Keyboard::A,
                   Keyboard::A, Keyboard::D, Keyboard::D});
    scriptPassEnd();
    lobbyPass();
    ASSERT_EQ(playerCount, 1);
    EXPECT_EQ(players[0].slot[0], static_cast<std::uint32_t>(Keyboard::W));

    addJoystickPlayer({0, 1, 2, 3, 4});
    scriptPresses({Keyboard::W, Keyboard::A, Keyboard::D});
    scriptPassEnd();
    lobbyPass();
    EXPECT_TRUE(players[0].ready);
    EXPECT_EQ(players[0].speed, 0.0f) << "left and right do nothing in the lobby";
    scriptPresses({Keyboard::S});
    scriptEvent(buttonEvent(Event::JoystickButtonPressed, 0, 1));
    scriptPassEnd();
    lobbyPass();
    EXPECT_FALSE(players[0].ready);
    EXPECT_TRUE(players[1].ready) << "a joined joystick's jump marks, it never joins";
    EXPECT_EQ(playerCount, 2);

    players[0].ready = true;
    players[1].alive = false;
    // The match ends at once with Escape; the lobby pass then goes on.
    scriptEvent(keyEvent(Event::KeyPressed, Keyboard::Escape));
    scriptIdle();
    lobbyPass();
    EXPECT_FALSE(matchRunning || players[0].ready || players[1].ready);
    EXPECT_TRUE(players[1].alive);
}

TEST_F(Lobby, AButtonLeftByAKeyboardJoinJoinsOnlyAJoystickThatNobodyUses) {
    addJoystickPlayer({0, 1, 2, 3, 4});
    auto keyboardJoinThenButton = [](sf::Keyboard::Key first, unsigned int joystickId) {
        scriptPresses({first, Keyboard::W, Keyboard::W, Keyboard::S, Keyboard::S, Keyboard::A,
                       Keyboard::A, Keyboard::D, Keyboard::D});
        scriptEvent(buttonEvent(Event::JoystickButtonPressed, joystickId, 1));
        scriptPassEnd();
    };
    // A joined joystick's jump, polled by the keyboard join, then marks its player ready.
    keyboardJoinThenButton(Keyboard::J, 0);
    lobbyPass();
    EXPECT_EQ(playerCount, 2);
    EXPECT_TRUE(players[0].ready);
    // A new joystick's button starts its join straight after the keyboard join.
    keyboardJoinThenButton(Keyboard::K, 3);
    for (unsigned int button : {0, 0, 2, 2}) {
        scriptEvent(buttonEvent(Event::JoystickButtonPressed, 3, button));
    }
    scriptEvent(axisMoved(3, sf::Joystick::Y, 80.0f));
    scriptEvent(axisMoved(3, sf::Joystick::Y, 0.0f));
    scriptEvent(axisMoved(3, sf::Joystick::Y, -80.0f));
    scriptPassEnd();
    lobbyPass();
    expectLobbyState(4);
    EXPECT_EQ(players[2].device, "keyboard");
    EXPECT_EQ(players[3].device, "joystick");
    EXPECT_EQ(players[3].axis(), static_cast<std::uint32_t>(sf::Joystick::Y));
}

// Plain squares for the figure (40 × 40, white) and the mark (drawn at 0.3: 12 × 12), so
// that positions and tints can be read back exactly.
class LobbyLayout : public GameTest, public ::testing::WithParamInterface<sf::Vector2u> {
  protected:
    sf::Vector2u screenSize() const override { return GetParam(); }
    void SetUp() override {
        GameTest::SetUp();
        idlePath = solidImage(40, 40, sf::Color::White);
        markPath = solidImage(40, 40, markColor);
    }
    // The frame for n players, of whom those listed are ready.
    sf::Image frame(int n, std::initializer_list<int> ready = {}) {
        while (playerCount < n) {
            addKeyboardPlayer(Keyboard::A, Keyboard::A, Keyboard::A, Keyboard::A);
        }
        for (int p = 0; p < n; ++p) {
            players[p].ready = std::find(ready.begin(), ready.end(), p) != ready.end();
        }
        window.clear(sf::Color::White);
        drawLobby();
        return grabWindow();
    }
    // The centre of player p's figure among n, computed independently of the game.
    sf::Color at(const sf::Image& image, int p, int n, int dx = 0, int dy = 0) const {
        const float w = static_cast<float>(screenWidth);
        const float h = static_cast<float>(screenHeight);
        float x = static_cast<float>(p + 1) * w / static_cast<float>(n + 1);
        float y = h / 2.0f;
        if (n > 4) {
            x = static_cast<float>(p % 4 + 1) * w / 5.0f;
            y = static_cast<float>(p / 4 + 1) * h / (0.25f * static_cast<float>(n) + 2.0f);
        }
        return image.getPixel(static_cast<unsigned int>(std::lround(x)) + dx,
                              static_cast<unsigned int>(std::lround(y)) + dy);
    }
    const sf::Color markColor{10, 200, 30};
};

TEST_P(LobbyLayout, FiguresStandInARowUpToFourThenInRowsOfFourInTheirColours) {
    for (int n : {1, 4, 5, 8, 12}) {
        const sf::Image image = frame(n);
        for (int p = 0; p < n; ++p) {
            SCOPED_TRACE(std::to_string(p) + " of " + std::to_string(n));
            EXPECT_EQ(at(image, p, n), playerColor(p, false));
            EXPECT_EQ(at(image, p, n, -18, -18), playerColor(p, false));
            EXPECT_EQ(at(image, p, n, 18, 18), playerColor(p, false));
            EXPECT_EQ(at(image, p, n, 23, 0), sf::Color::White);
            EXPECT_EQ(at(image, p, n, 0, -23), sf::Color::White);
        }
    }
}

TEST_P(LobbyLayout, TheMarkShowsAtAThirdOfItsSizeOverReadyPlayersOnly) {
    sf::Image image = frame(3, {1});
    EXPECT_EQ(at(image, 1, 3, -5, 5), markColor);
    EXPECT_EQ(at(image, 1, 3, 8, 0), sf::Color::Red);
    EXPECT_EQ(at(image, 0, 3), sf::Color::Black);
    image = frame(3);
    EXPECT_EQ(at(image, 1, 3), sf::Color::Red);
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, LobbyLayout,
                         ::testing::Values(sf::Vector2u(800, 600), sf::Vector2u(1001, 777)),
                         [](const ::testing::TestParamInfo<sf::Vector2u>& size) {
                             return std::to_string(size.param.x) + "x" +
                                    std::to_string(size.param.y);
                         });
