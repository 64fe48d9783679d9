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
    limitFrames(60);
    script("J D D | S S | A A | W W | 3:7 3:1 3:1 | 3:2 3:2 | 3:3 3:3 | 3:4 3:4 |");
    lobbyPass();
    EXPECT_EQ(heard(), "taught taught taught taught joined taught taught taught taught joined");
    ASSERT_EQ(playerCount, 2);
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

TEST_F(Lobby, AMatchStartsWhenEveryoneIsReadyToItsLoopTicksSixtyASecondAndEndsWithNobodyReady) {
    // Nobody present is not everyone ready: a pad player, ready and gone, starts no match.
    addPlayer({1, 0, 1, 2, 3});
    script("1:0 -1 | |");
    lobbyPass();
    lobbyPass();
    EXPECT_EQ(heard(), "ready");
    players.clear();
    playerCount = 0;
    addPlayer("WSAD");
    // A lone player is everyone. (With one of two ready, no match starts: see above.) Ready in
    // the lobby, it runs out of the match that starts on the left, and is back. Every frame adds
    // a cloud. The lobby's loop plays before and after the match, the match's in it; with the
    // music off or everything muted no loop is asked for, and only the mute silences effects.
    std::vector<sf::Time> shown;
    beforePresent = [&shown] {
        shown.push_back(platformTime());
        addEntity("cloud", 500, 100);
    };
    for (const std::string option : {"", "--no-music", "--mute"}) {
        musicOff = option == "--no-music";
        soundMuted = option == "--mute";
        musicRequests.clear();
        startScript();
        script("W |");
        lobbyPass();
        EXPECT_TRUE(players[0].ready && !matchRunning) << "it starts with the next pass";
        players[0].speed = -5.0f;
        shown.clear();
        scriptMatch();
        lobbyPass();
        // 24 ticks and a lobby frame.
        ASSERT_EQ(shown.size(), 25u);
        EXPECT_NEAR((shown[23] - shown[0]).asSeconds(), 23.0f / 60.0f, 0.0001f);
        EXPECT_EQ(score, 8.0) << "out at the 24th tick";
        // Nobody ready, everyone revived and the entities cleared, before the lobby frame.
        EXPECT_TRUE(!matchRunning && !players[0].ready && players[0].alive && entityCount == 1 &&
                    entities.size() == 1);
        lobbyPass();
        const std::vector<Music> asked = {Music::lobby, Music::match, Music::lobby};
        EXPECT_EQ(musicRequests, option.empty() ? asked : std::vector<Music>()) << option;
        EXPECT_EQ(heard(), soundMuted ? "" : "ready start out over") << option;
    }
    musicOff = false;
}

TEST_F(Lobby, FiguresStandInARowUpToFourThenInRowsOfFourEachInItsColourTheAbsentFaded) {
    // Plain squares for the figure (40 × 40, white) and the mark (drawn at 0.3: 12 × 12), so
    // that positions and tints can be read back exactly. Player 1 is absent: its red at a third
    // of its opacity on white reads 255, 170, 170. (The crown and the wins: tests/sound.sh.)
    openWindow({1001, 777});
    useImage(idlePath, solidImage(40, 40, sf::Color::White));
    useImage(markPath, solidImage(40, 40, sf::Color::White));
    for (const int n : {1, 4, 5, 8, 14, 52}) {
        while (playerCount < n) {
            addPlayer("AAAA");
        }
        players[n - 1].ready = true;
        players[1 % n].absent = n > 1;
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
            std::string seen;
            for (const auto& [dx, dy] : {std::pair{-18, -18}, {18, 18}, {8, 0}, {23, 0}, {-5, 5}}) {
                const sf::Color c = image.getPixel(unsigned(x + dx), unsigned(y + dy));
                seen += c == tint ? 't' : c == sf::Color::White ? 'w' : '?';
            }
            EXPECT_EQ(seen, players[p].ready ? "tttww" : "tttwt") << p << " of " << n;
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
    // The first tick of a match that starts: who is alive in it; then it ends.
    std::string match;
    beforePresent = [&match] {
        if (!matchRunning) {
            return;
        }
        for (Player& p : players) {
            match += char('0' + p.alive);
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
        {"2:0 -2", "110 001  ready"}, {"", "000 001 110 start"},
        {"2:0 W 1:0 -1 -22", "100 011  ready"}, {"", "000 011 100 start"},
        {"+2 +1 -0 1:0", "010 000  ready"}, {"-1 -2 W", "100 011  ready"},
        {"", "000 011 100 start"}};
    // clang-format on
    for (const auto& [words, after] : steps) {
        match.clear();
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
