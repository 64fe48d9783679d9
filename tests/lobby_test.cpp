// The lobby: the invitation, joins started by unknown keys and buttons, ready marks by jump and
// down, Escape, the match that starts when all are ready and its pace, the figures laid out in
// their colours, and players whose pads go away and come back.
#include "support.hpp"

#include <cmath>

class Lobby : public GameTest {};

TEST_F(Lobby, UnknownDevicesJoinJumpMarksReadyDownTakesItBackAndEscapeEndsTheProgram) {
    // An unknown key or a button of a joystick that no joystick player uses starts a join, which
    // takes the presses that follow it: joystick 3 joins though the keyboard player's jump key
    // (D) has the code 3. Each confirmed control is heard, then the join; at most a frame apart,
    // as in the game, so that no voice cuts another short.
    sf::Image shown;
    beforePresent = [&shown] { shown = grabWindow(); };
    limitFrames(60);
    script("| J D D | S S | A A | W W | 3:7 3:1 3:1 | 3:2 3:2 | 3:3 3:3 | 3:4 3:4 |");
    lobbyPass();
    // With nobody joined, the invitation in black ink.
    EXPECT_GT(std::count(shown.getPixelsPtr(), shown.getPixelsPtr() + 4 * 800 * 600, 0), 1000);
    EXPECT_EQ(lobbyText.getString(), "Click on a button ...");
    lobbyPass();
    EXPECT_EQ(heard(), "taught taught taught taught joined taught taught taught taught joined");
    ASSERT_EQ(playerCount, 2);
    EXPECT_TRUE(players[0].jumpKey() == sf::Keyboard::D && players[1].joystickId() == 3 &&
                players[1].jumpButton() == 1);
    // Words, then whether players 0 and 1 are ready after them and what was heard; a joined
    // joystick's buttons mark, they never join; left and right do nothing in the lobby, and with
    // one of the two not ready no match starts. Only a mark that changes is heard.
    // clang-format off
    const std::tuple<const char*, const char*, const char*> steps[] = {
        {"D", "10", "ready"}, {"D", "10", ""}, {"A W ~S", "10", ""}, {"S", "00", "unready"},
        {"S", "00", ""}, {"W", "00", ""}, {"3:1", "01", "ready"}, {"3:1", "01", ""},
        {"3:3 3:4", "01", ""}, {"3:2", "00", "unready"}, {"D", "10", "ready"}};
    // clang-format on
    for (const auto& [words, ready, sounds] : steps) {
        script(std::string(words) + " |");
        lobbyPass();
        EXPECT_EQ(std::to_string(players[0].ready) + std::to_string(players[1].ready) + heard(),
                  ready + std::string(sounds))
            << words;
        EXPECT_FALSE(playerCount != 2 || bindingStep || awaitingConfirm || axisHeld ||
                     joinInProgress || matchRunning || players[0].speed || players[1].speed);
    }
    EXPECT_EXIT((script("Escape"), lobbyPass()), testing::ExitedWithCode(0), "");
    // The window's close request ends the lobby's loop.
    script("close");
    runLobby();
    EXPECT_FALSE(window.isOpen());
}

TEST_F(Lobby, AMatchStartsWhenEveryoneIsReadyTicksSixtyASecondAndEndsWithNobodyReady) {
    // Nobody present is not everyone ready: a pad player, ready and gone, starts no match.
    addPlayer({1, 0, 1, 2, 3});
    script("1:0 -1 | |");
    lobbyPass();
    lobbyPass();
    EXPECT_EQ(heard(), "ready");
    resetVoices();
    players.clear();
    playerCount = 0;
    // A lone player is everyone. (With one of two ready, no match starts: see above.)
    addPlayer("WSAD");
    script("W |");
    lobbyPass();
    EXPECT_TRUE(players[0].ready && !matchRunning) << "it starts with the next pass";
    // The player runs out on the left, and the match ends. Every frame adds a cloud.
    players[0].speed = -5.0f;
    std::vector<sf::Time> shown;
    beforePresent = [&shown] {
        shown.push_back(platformTime());
        addEntity("cloud", 500, 100);
    };
    scriptMatch();
    lobbyPass();
    // 24 ticks and a lobby frame.
    ASSERT_EQ(shown.size(), 25u);
    EXPECT_NEAR((shown[23] - shown[0]).asSeconds(), 23.0f / 60.0f, 0.0001f);
    EXPECT_EQ(score, 8.0) << "out at the 24th tick";
    EXPECT_EQ(heard(), "ready start out over");
    // Nobody ready, everyone revived and the entities cleared, before the lobby frame.
    EXPECT_TRUE(!matchRunning && !players[0].ready && players[0].alive && entityCount == 1 &&
                entities.size() == 1);
}

TEST_F(Lobby, FiguresStandInARowUpToFourThenInRowsOfFourEachInItsColourTheAbsentFaded) {
    // Plain squares for the figure (40 × 40, white) and the mark (drawn at 0.3: 12 × 12), so
    // that positions and tints can be read back exactly. Player 1 is absent: its red at a third
    // of its opacity on white reads 255, 170, 170.
    openWindow({1001, 777});
    useImage(idlePath, solidImage(40, 40, sf::Color::White));
    useImage(markPath, solidImage(40, 40, sf::Color::White));
    for (const int n : {1, 4, 5, 8, 14, 52}) {
        while (playerCount < n) {
            addPlayer("AAAA");
        }
        players[n - 1].ready = true;
        players[1 % n].absent = n > 1;
        matchWinner = n - 2;
        for (int p = 0; p < n; ++p) {
            players[p].wins = p % 3;
        }
        window.clear(sf::Color::White);
        drawLobby();
        const sf::Image image = grabWindow();
        for (int p = 0; p < n; ++p) {
            // Up to four: n + 1 columns across the middle; from five: five columns, and rows
            // n / 4 + 2 to the height.
            const int x = std::lround(n <= 4 ? (p + 1) * 1001.0f / (n + 1) : (p % 4 + 1) * 200.2f);
            const int y = std::lround(n <= 4 ? 388.5f : (p / 4 + 1) * 777.0f / (n / 4.0f + 2));
            // The figure's tint at its corners and right of the mark, white past its edges and
            // in the mark at the centre, over the figures of those ready. Players 14 to 50 are
            // black; from the 51st the colours start again.
            const sf::Color tint = p == 1              ? sf::Color(255, 170, 170)
                                   : p >= 13 && p < 50 ? sf::Color::Black
                                                       : playerColor(p % 50, false);
            // Above the figure, the crown on the last winner's head; under it, black digits for
            // a player with wins, faded with the absent player 1.
            std::string seen;
            const std::pair<int, int> probes[] = {{-18, -18}, {18, 18}, {8, 0},
                                                  {23, 0},    {-5, 5},  {11, -30}};
            for (const auto& [dx, dy] : probes) {
                const sf::Color c = image.getPixel(unsigned(x + dx), unsigned(y + dy));
                seen += c == tint                     ? 't'
                        : c == sf::Color::White       ? 'w'
                        : c == sf::Color(255, 196, 0) ? 'c'
                                                      : '?';
            }
            int ink = 0;
            for (int i = 0; i < 25 * 5; ++i) {
                ink += image.getPixel(unsigned(x - 12 + i % 25), unsigned(y + 26 + i / 25)) ==
                       sf::Color::Black;
            }
            EXPECT_EQ(seen + (ink > 3 ? "n" : ""), (players[p].ready ? "tttww" : "tttwt") +
                                                       std::string(p == n - 2 ? "c" : "w") +
                                                       (p % 3 && p != 1 ? "n" : ""))
                << p << " of " << n;
        }
    }
}

TEST_F(Lobby, AnUnpluggedPadSitsOutUntilItIsBackAndThenMarksReadyAfresh) {
    // Players 0 (keyboard, black), 1 (joystick 1, red) and 2 (joystick 2 by its X axis, green).
    // Frames at the game's pace, so that each pass's marks are heard (those of one pass as one).
    limitFrames(60);
    addPlayer("WSAD");
    addPlayer({1, 0, 1, 2, 3});
    addPlayer({2, 0, 1, noButton, 0, sf::Joystick::X});
    // The first tick of a match that starts: who is alive, whether the absent stand where they
    // stood before (400 + their number, 300), and whether red or green shows; then the match ends.
    std::string match;
    beforePresent = [&match] {
        if (!matchRunning) {
            return;
        }
        const sf::Image frame = grabWindow();
        const auto shows = [&frame](sf::Color c) {
            const auto* px = reinterpret_cast<const sf::Color*>(frame.getPixelsPtr());
            return std::find(px, px + 800 * 600, c) != px + 800 * 600;
        };
        for (const Player& p : players) {
            match += p.alive                                                      ? "1"
                     : std::pair(p.x, p.y) == std::pair(400.0f + p.index, 300.0f) ? "0"
                                                                                  : "?";
        }
        match +=
            std::string(shows(sf::Color::Red) ? "r" : "") + (shows(sf::Color::Green) ? "g" : "");
        for (Player& p : players) {
            p.alive = false;
        }
        matchRunning = false;
    };
    // Words of one lobby pass; then the ready marks, who is absent, the first tick of the match
    // that the pass started and what was heard. The all-ready test opens each pass. A mark
    // made before the pad went away is gone when it comes back; an absent pad's buttons do
    // nothing; a match starts without the absent and they are not in it; with every pad gone
    // the keyboard player alone starts; a keyboard player is never absent (W's code is 22).
    // clang-format off
    const std::pair<const char*, const char*> steps[] = {
        {"W 1:0 2:0 -2 +2", "110 000  ready"}, {"", "110 000  "},
        {"2:0 -2", "110 001  ready"}, {"", "000 001 110r start"},
        {"2:0 W 1:0 -1 -22", "100 011  ready"}, {"", "000 011 100 start"},
        {"+2 +1 -0 1:0", "010 000  ready"}, {"-1 -2 W", "100 011  ready"},
        {"", "000 011 100 start"}};
    // clang-format on
    for (const auto& [words, after] : steps) {
        match.clear();
        for (Player& p : players) {
            std::tie(p.x, p.y) = std::pair(400.0f + p.index, 300.0f);
        }
        script(std::string(words) + " |");
        scriptMatch();
        lobbyPass();
        std::string ready, absent;
        for (const Player& p : players) {
            ready += char('0' + p.ready);
            absent += char('0' + p.absent);
        }
        EXPECT_EQ(ready + " " + absent + " " + match + " " + heard(), after) << words;
    }
}
