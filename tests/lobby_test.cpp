// The lobby loop's dispatch: joins started by unknown keys, ready marks, the start of a
// match, Escape and the close request.
#include "support.hpp"

using sf::Keyboard;

namespace {

// Scripts a complete join: the starting key, then each key pressed twice.
void scriptJoin(Keyboard::Key start, std::initializer_list<Keyboard::Key> keys) {
    scriptEvent(keyPressed(start));
    for (Keyboard::Key key : keys) {
        scriptEvent(keyPressed(key));
        scriptEvent(keyPressed(key));
    }
}

} // namespace

class Lobby : public GameTest {};

TEST_F(Lobby, AnUnknownKeyStartsAJoinWhoseFirstPressIsNotTaught) {
    scriptJoin(Keyboard::J, {Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D});
    scriptPassEnd();
    lobbyPass();

    ASSERT_EQ(playerCount, 1);
    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].jumpKey(), static_cast<std::uint32_t>(Keyboard::W));
    EXPECT_FALSE(players[0].ready);
    EXPECT_FALSE(joinInProgress);

    // A second person joins with keys of their own; a taught key starts no join.
    scriptJoin(Keyboard::Up, {Keyboard::Up, Keyboard::Down, Keyboard::Left, Keyboard::Right});
    scriptEvent(keyPressed(Keyboard::A));
    scriptPassEnd();
    lobbyPass();
    EXPECT_EQ(playerCount, 2);
    EXPECT_EQ(players[1].index, 1);
    EXPECT_EQ(players[1].jumpKey(), static_cast<std::uint32_t>(Keyboard::Up));
}

TEST_F(Lobby, JumpMarksReadyDownTakesItBackLeftAndRightDoNothing) {
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    addKeyboardPlayer(Keyboard::Up, Keyboard::Down, Keyboard::Left, Keyboard::Right);
    scriptEvent(keyPressed(Keyboard::W));
    scriptEvent(keyPressed(Keyboard::Left));
    scriptEvent(keyPressed(Keyboard::Right));
    scriptEvent(keyReleased(Keyboard::S));
    scriptPassEnd();
    lobbyPass();
    EXPECT_TRUE(players[0].ready);
    EXPECT_FALSE(players[1].ready);
    EXPECT_EQ(players[1].speed, 0.0f) << "left and right don't steer in the lobby";
    EXPECT_EQ(lobbyAction.action, "right");

    scriptEvent(keyPressed(Keyboard::S));
    scriptPassEnd();
    lobbyPass();
    EXPECT_FALSE(players[0].ready);
    EXPECT_EQ(playerCount, 2) << "known keys start no join";
}

TEST_F(Lobby, TheMatchStartsInThePassAfterTheLastPlayerIsReady) {
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    addJoystickPlayer(0, 1, 2, 3, 4, 0);
    players[0].ready = true;
    players[1].alive = false;

    scriptEvent(buttonPressed(0, 1));
    scriptPassEnd();
    lobbyPass();
    EXPECT_TRUE(players[0].ready && players[1].ready);
    EXPECT_FALSE(matchRunning);

    scriptPassEnd();
    lobbyPass();
    EXPECT_FALSE(matchRunning);
    EXPECT_FALSE(players[0].ready || players[1].ready) << "a match clears the ready marks";
    EXPECT_TRUE(players[0].alive && players[1].alive) << "everyone comes back from a match";
}

TEST_F(Lobby, AJoinedJoysticksButtonsOnlyMarkAndNeverJoin) {
    addJoystickPlayer(2, 1, 2, 3, 4, 0);
    scriptEvent(buttonPressed(2, 9));
    scriptEvent(buttonPressed(2, 3));
    scriptEvent(buttonPressed(2, 1));
    scriptPassEnd();
    lobbyPass();
    EXPECT_EQ(playerCount, 1);
    EXPECT_TRUE(players[0].ready);
    scriptEvent(buttonPressed(2, 2));
    scriptPassEnd();
    lobbyPass();
    EXPECT_FALSE(players[0].ready);
}

TEST_F(Lobby, AnUnknownJoysticksButtonLeavesTheRosterConsistent) {
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    scriptEvent(buttonPressed(5, 0));
    scriptEvent(buttonPressed(11, 0));
    scriptPassEnd();
    lobbyPass();
    EXPECT_EQ(playerCount, static_cast<int>(players.size()));
    EXPECT_FALSE(joinInProgress);
    EXPECT_EQ(bindingStep, 0);
}

TEST_F(Lobby, EscapeInAJoinOnlyEndsTheJoin) {
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    scriptEvent(keyPressed(Keyboard::J));
    scriptEvent(keyPressed(Keyboard::J));
    scriptEvent(keyPressed(Keyboard::Escape));
    scriptEvent(keyPressed(Keyboard::W));
    scriptPassEnd();
    lobbyPass();
    EXPECT_TRUE(window.isOpen());
    EXPECT_EQ(playerCount, 1);
    EXPECT_EQ(players.size(), 1u);
    EXPECT_TRUE(players[0].ready) << "the lobby goes on with the events after the join";
}

TEST_F(Lobby, TheCloseRequestEndsTheLoopInTheLobbyAndDuringAJoin) {
    scriptEvent(closeRequest());
    runLobby();
    EXPECT_FALSE(window.isOpen());

    window.create(sf::VideoMode(800, 600), "Twinrun test", sf::Style::None);
    scriptEvent(keyPressed(Keyboard::J));
    scriptEvent(keyPressed(Keyboard::J));
    scriptEvent(closeRequest());
    runLobby();
    EXPECT_FALSE(window.isOpen());
    EXPECT_EQ(playerCount, 0);
    EXPECT_TRUE(players.empty());
    EXPECT_FALSE(joinInProgress);
}

TEST_F(Lobby, ARunDryScriptActsAsTheCloseRequest) {
    runLobby();
    EXPECT_FALSE(window.isOpen());
    EXPECT_TRUE(scriptRanDry());
    startScript(); // this test ran dry on purpose
}

using LobbyDeathTest = Lobby;

TEST_F(LobbyDeathTest, EscapeEndsTheProgramWithStatusZeroEvenWhenPlayersAreReady) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
            players[0].ready = true;
            scriptEvent(keyPressed(Keyboard::Escape));
            lobbyPass();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}
