// The lobby: joins started by unknown keys and buttons, ready marks by jump and down, the
// match that starts when all are ready, Escape, and the figures laid out in their colours.
#include "support.hpp"

#include <cmath>

using sf::Keyboard;

class Lobby : public GameTest {};

TEST_F(Lobby, JumpMarksReadyDownTakesItBackAndOtherControlsDoNothing) {
    // The first J only starts the join; the four keys come after it.
    script("J W W S S A A D D |");
    lobbyPass();
    ASSERT_EQ(playerCount, 1);
    EXPECT_EQ(players[0].jumpKey(), static_cast<std::uint32_t>(sf::Keyboard::W));
    addJoystickPlayer({0, 1, 2, 3, 4});
    // A word, then whether players 0 and 1 are ready after it; a joined joystick's buttons
    // mark, they never join.
    // clang-format off
    const std::pair<const char*, const char*> steps[] = {
        {"W", "10"}, {"W", "10"}, {"A", "10"}, {"~S", "10"}, {"S", "00"}, {"S", "00"},
        {"D", "00"}, {"0:1", "01"}, {"0:1", "01"}, {"0:3", "01"}, {"0:2", "00"},
    };
    // clang-format on
    for (const auto& [word, ready] : steps) {
        script(std::string(word) + " |");
        lobbyPass();
        EXPECT_EQ(std::to_string(players[0].ready) + std::to_string(players[1].ready), ready)
            << word;
        EXPECT_EQ(players[0].speed, 0.0f) << "left and right do nothing in the lobby";
    }
    expectLobbyState(2);
}

TEST_F(Lobby, AMatchStartsWhenEveryoneIsReadyAndEndsWithNobodyReady) {
    addKeyboardPlayer("WSAD");
    addKeyboardPlayer("IKJL");
    script("W |");
    lobbyPass();
    EXPECT_TRUE(players[0].ready && !matchRunning) << "not everyone is ready";
    // Both run out on the left; the match ends when the last is out.
    players[0].speed = players[1].speed = -5.0f;
    script("I");
    scriptIdle(1000);
    lobbyPass();
    lobbyPass();
    EXPECT_FALSE(matchRunning || players[0].ready || players[1].ready);
    EXPECT_TRUE(players[0].alive && players[1].alive);
    EXPECT_EQ(score, 8.0) << "the last out at the 24th tick";
}

TEST_F(Lobby, AButtonOfAJoystickNobodyUsesStartsItsJoinAndTheCloseRequestEndsTheLoop) {
    script("3:7 3:1 3:1 3:2 3:2 3:3 3:3 3:4 3:4 | close");
    runLobby();
    EXPECT_FALSE(window.isOpen());
    expectLobbyState(1);
    EXPECT_EQ(players[0].joystickId(), 3u);
    EXPECT_EQ(players[0].jumpButton(), 1u);
}

TEST_F(Lobby, EscapeEndsTheProgramEvenWithPlayersReady) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    addKeyboardPlayer("WSAD");
    addKeyboardPlayer("IKJL");
    players[0].ready = true;
    EXPECT_EXIT(
        {
            script("Escape");
            lobbyPass();
        },
        testing::ExitedWithCode(0), "");
}

// Plain squares for the figure (40 × 40, white) and the mark (drawn at 0.3: 12 × 12), so that
// positions and tints can be read back exactly.
class LobbyLayout : public GameTest {
  protected:
    sf::Vector2u screenSize() const override { return {1001, 777}; }
    sf::Image frame(int n, int ready) {
        idlePath = solidImage(40, 40, sf::Color::White);
        markPath = solidImage(40, 40, markColor);
        while (playerCount < n) {
            addKeyboardPlayer("AAAA");
        }
        for (int p = 0; p < n; ++p) {
            players[p].ready = p == ready;
        }
        window.clear(sf::Color::White);
        drawLobby();
        return grabWindow();
    }
    const sf::Color markColor{10, 200, 30};
};

TEST_F(LobbyLayout, FiguresStandInARowUpToFourThenInRowsOfFourInTheirColours) {
    const sf::Color dayColours[] = {
        sf::Color::Black,       sf::Color::Red,           sf::Color::Green,
        sf::Color::Blue,        sf::Color::Yellow,        sf::Color::Magenta,
        sf::Color::Cyan,        sf::Color(128, 128, 128), sf::Color(255, 128, 0),
        sf::Color(128, 0, 255), sf::Color(255, 0, 128),   sf::Color(0, 128, 255),
        sf::Color(128, 255, 0)};
    for (int n : {1, 4, 5, 8, 14}) {
        const sf::Image image = frame(n, n - 1);
        for (int p = 0; p < n; ++p) {
            SCOPED_TRACE(std::to_string(p) + " of " + std::to_string(n));
            float x = static_cast<float>(p + 1) * 1001.0f / static_cast<float>(n + 1);
            float y = 777.0f / 2.0f;
            if (n > 4) {
                x = static_cast<float>(p % 4 + 1) * 1001.0f / 5.0f;
                y = static_cast<float>(p / 4 + 1) * 777.0f / (0.25f * static_cast<float>(n) + 2);
            }
            auto at = [&](int dx, int dy) {
                return image.getPixel(static_cast<unsigned>(std::lround(x) + dx),
                                      static_cast<unsigned>(std::lround(y) + dy));
            };
            const sf::Color tint = p < 13 ? dayColours[p] : sf::Color::Black;
            EXPECT_EQ(at(-18, -18), tint);
            EXPECT_EQ(at(18, 18), tint);
            EXPECT_EQ(at(23, 0), sf::Color::White);
            EXPECT_EQ(at(0, -23), sf::Color::White);
            EXPECT_EQ(at(-5, 5), p == n - 1 ? markColor : tint) << "the mark, 12 × 12";
            EXPECT_EQ(at(8, 0), tint);
        }
    }
    EXPECT_EQ(playerColor(2, true), sf::Color::Magenta) << "the night colour is the inverse";
    EXPECT_EQ(playerColor(50, false), sf::Color::Black) << "from the 51st on, from the start";
}
