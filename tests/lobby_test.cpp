// The lobby: joins started by unknown keys and buttons, ready marks by jump and down, players
// whose pads go away and come back, Escape, the match that starts when all are ready, its pace
// and the music before, in and after it, and the figures laid out in their colours.
#include "support.hpp"

#include <cmath>
#include <utility>

class Lobby : public GameTest {};

TEST_F(Lobby, UnknownDevicesJoinJumpMarksReadyDownTakesItBackAPadGoneSitsOutAndClosingEnds) {
    // An unknown key or a button of a joystick that no joystick player uses starts a join, which
    // takes the presses that follow it: joystick 3 joins though the keyboard player's jump key
    // (D) has the code 3. Each confirmed control is heard, then the join; at most a frame apart,
    // as in the game, so that no voice cuts another short.
    limitFrames(60);
    script("J D D | S S | A A | W W | 3:7 3:1 3:1 | 3:2 3:2 | 3:3 3:3 | 3:4 3:4 |");
    lobbyPass();
    EXPECT_EQ(heard(), "taught taught taught taught joined taught taught taught taught joined");
    ASSERT_EQ(playerCount, 2);
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
    // Words of one lobby pass; then whether players 0 and 1 are ready, whether they are absent,
    // who is alive in the match that the pass started, and what was heard. Only a mark that
    // changes is heard. A joined joystick's buttons mark, they never join; left and right do
    // nothing in the lobby. The all-ready test opens each pass: with one of the two not ready
    // no match starts; with the pad gone, the keyboard player alone starts, and the absent is not
    // in it. A keyboard player is never absent (D's code is 3); an absent pad's buttons do
    // nothing, and a mark made before it went away is gone when it comes back.
    // clang-format off
    const std::pair<const char*, const char*> steps[] = {
        {"D", "10 00  ready"}, {"D", "10 00  "}, {"A W ~S", "10 00  "},
        {"S", "00 00  unready"}, {"S", "00 00  "}, {"W", "00 00  "},
        {"3:1", "01 00  ready"}, {"3:1", "01 00  "}, {"3:3 3:4", "01 00  "},
        {"3:2", "00 00  unready"}, {"D", "10 00  ready"},
        {"3:1 -3", "10 01  ready"}, {"", "00 01 10 start"}, {"3:1", "00 01  "},
        {"+3 D", "10 00  ready"}, {"3:1", "11 00  ready"}, {"", "00 00 11 start"}};
    // clang-format on
    for (const auto& [words, after] : steps) {
        script(std::string(words) + " |");
        scriptMatch();
        lobbyPass();
        const std::string seen = {char('0' + players[0].ready), char('0' + players[1].ready), ' ',
                                  char('0' + players[0].absent), char('0' + players[1].absent)};
        EXPECT_EQ(seen + " " + std::exchange(match, "") + " " + heard(), after) << words;
        EXPECT_TRUE(playerCount == 2 && !players[0].speed && !players[1].speed) << words;
    }
    // The window's close request ends the lobby's loop. (Escape ends the game: the e2e runs.)
    script("close");
    runLobby();
    EXPECT_FALSE(window.isOpen());
}

TEST_F(Lobby, AMatchStartsWhenEveryoneIsReadyToItsLoopTicksSixtyASecondAndEndsWithNobodyReady) {
    // A lone player is everyone. (With one of two ready, no match starts: see above.) Ready in
    // the lobby, it runs out of the match that starts with the next pass on the left, and is
    // back. The lobby's loop plays before and after the match, the match's in it; muted, no loop
    // is asked for and no effect. (The music alone off, --no-music: tests/sound.sh.)
    addPlayer("WSAD");
    std::vector<sf::Time> shown;
    beforePresent = [&shown] { shown.push_back(platformTime()); };
    for (const bool muted : {true, false}) {
        soundMuted = muted;
        musicRequests.clear();
        script("W |");
        lobbyPass();
        players[0].speed = -5.0f;
        shown.clear();
        scriptMatch();
        lobbyPass();
        // 24 ticks and a lobby frame. (That the match leaves nobody ready and everyone back: the
        // test above.)
        ASSERT_EQ(shown.size(), 25u);
        EXPECT_NEAR((shown[23] - shown[0]).asSeconds(), 23.0f / 60.0f, 0.0001f);
        lobbyPass();
        const std::vector<Music> asked = {Music::lobby, Music::match, Music::lobby};
        EXPECT_EQ(musicRequests, muted ? std::vector<Music>() : asked) << muted;
        EXPECT_EQ(heard(), muted ? "" : "ready start out over") << muted;
    }
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
