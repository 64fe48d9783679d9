// The lobby: joins started by unknown keys and buttons, ready marks by jump and down, the
// match that starts when all are ready, Escape, and the figures laid out in their colours.
#include "support.hpp"

#include <cmath>

class Lobby : public GameTest {};

TEST_F(Lobby, JumpMarksReadyDownTakesItBackAndEscapeEndsTheProgram) {
    // The first J only starts the join; the four keys come after it.
    script("J W W S S A A D D |");
    lobbyPass();
    ASSERT_EQ(playerCount, 1);
    EXPECT_EQ(players[0].jumpKey(), static_cast<std::uint32_t>(sf::Keyboard::W));
    addPlayer({0, 1, 2, 3, 4});
    // Words, then whether players 0 and 1 are ready after them; a joined joystick's buttons
    // mark, they never join; left and right do nothing in the lobby.
    // clang-format off
    const std::pair<const char*, const char*> steps[] = {
        {"W", "10"}, {"W", "10"}, {"A D ~S", "10"}, {"S", "00"}, {"S", "00"}, {"D", "00"},
        {"0:1", "01"}, {"0:1", "01"}, {"0:3 0:4", "01"}, {"0:2", "00"}, {"W", "10"}};
    // clang-format on
    for (const auto& [words, ready] : steps) {
        script(std::string(words) + " |");
        lobbyPass();
        EXPECT_EQ(std::to_string(players[0].ready) + std::to_string(players[1].ready), ready)
            << words;
        EXPECT_FALSE(players[0].speed || players[1].speed || matchRunning);
        expectLobbyState(2);
    }
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT((script("Escape"), lobbyPass()), testing::ExitedWithCode(0), "");
}

TEST_F(Lobby, AMatchStartsWhenEveryoneIsReadyAndEndsWithNobodyReady) {
    addPlayer("WSAD");
    addPlayer("IKJL");
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

class LobbyLayout : public GameTest {
  protected:
    sf::Vector2u screenSize() const override { return {1001, 777}; }
};

TEST_F(LobbyLayout, FiguresStandInARowUpToFourThenInRowsOfFourInTheirColours) {
    // Plain squares for the figure (40 × 40, white) and the mark (drawn at 0.3: 12 × 12), so
    // that positions and tints can be read back exactly.
    const sf::Color markColor{10, 200, 30};
    idlePath = savedImage(solidImage(40, 40, sf::Color::White));
    markPath = savedImage(solidImage(40, 40, markColor));
    const sf::Color dayColours[] = {
        sf::Color::Black,       sf::Color::Red,           sf::Color::Green,
        sf::Color::Blue,        sf::Color::Yellow,        sf::Color::Magenta,
        sf::Color::Cyan,        sf::Color(128, 128, 128), sf::Color(255, 128, 0),
        sf::Color(128, 0, 255), sf::Color(255, 0, 128),   sf::Color(0, 128, 255),
        sf::Color(128, 255, 0)};
    for (int n : {1, 4, 5, 8, 14}) {
        while (playerCount < n) {
            addPlayer("AAAA");
        }
        for (int p = 0; p < n; ++p) {
            players[p].ready = p == n - 1;
        }
        window.clear(sf::Color::White);
        drawLobby();
        const sf::Image image = grabWindow();
        for (int p = 0; p < n; ++p) {
            const bool row = n <= 4;
            const float x = static_cast<float>(row ? p + 1 : p % 4 + 1) * 1001.0f /
                            static_cast<float>(row ? n + 1 : 5);
            const float y =
                row ? 777.0f / 2.0f
                    : static_cast<float>(p / 4 + 1) * 777.0f / (0.25f * static_cast<float>(n) + 2);
            // The figure's tint at two corners and right of the mark, white past its edges, and
            // the mark at its centre on the last player's only.
            std::string seen;
            for (const auto& [dx, dy] :
                 {std::pair{-18, -18}, {18, 18}, {8, 0}, {23, 0}, {0, -23}, {-5, 5}}) {
                const sf::Color c = image.getPixel(static_cast<unsigned>(std::lround(x) + dx),
                                                   static_cast<unsigned>(std::lround(y) + dy));
                seen += c == (p < 13 ? dayColours[p] : sf::Color::Black) ? 't'
                        : c == sf::Color::White                          ? 'w'
                        : c == markColor                                 ? 'm'
                                                                         : '?';
            }
            EXPECT_EQ(seen, p == n - 1 ? "tttwwm" : "tttwwt") << p << " of " << n;
        }
    }
    EXPECT_EQ(playerColor(2, true), sf::Color::Magenta) << "the night colour is the inverse";
    EXPECT_EQ(playerColor(50, false), sf::Color::Black) << "from the 51st on, from the start";
}
