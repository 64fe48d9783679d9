// The keyboard join: teaching four keys by pressing each twice, its prompts, and the ways
// a join can end without a player.
#include "support.hpp"

using sf::Keyboard;

namespace {

// Enters a join the way the lobby does.
void startJoin() {
    joinInProgress = true;
    playerCount += 1;
}

void scriptPresses(std::initializer_list<Keyboard::Key> keys) {
    for (Keyboard::Key key : keys) {
        scriptEvent(keyPressed(key));
    }
}

// The lobby's state without a join under way.
void expectLobbyState(int records) {
    EXPECT_EQ(static_cast<int>(players.size()), records);
    EXPECT_EQ(playerCount, records);
    EXPECT_EQ(bindingStep, 0);
    EXPECT_FALSE(awaitingConfirm);
    EXPECT_FALSE(joinInProgress);
}

} // namespace

class KeyboardJoin : public GameTest {};

TEST_F(KeyboardJoin, TeachesFourKeysInOrderWithAPromptForEachStep) {
    addKeyboardPlayer(Keyboard::A, Keyboard::S, Keyboard::D, Keyboard::F);
    FrameRecorder frames;
    startJoin();
    for (Keyboard::Key key : {Keyboard::J, Keyboard::K, Keyboard::L, Keyboard::M}) {
        scriptEvent(keyPressed(key));
        scriptEvent(keyReleased(key));
        scriptPassEnd();
        scriptEvent(keyPressed(key));
        scriptPassEnd();
    }
    joinKeyboardPlayer();

    expectLobbyState(2);
    Player& player = players[1];
    EXPECT_EQ(player.index, 1);
    EXPECT_EQ(player.device, "keyboard");
    EXPECT_EQ(player.jumpKey(), static_cast<std::uint32_t>(Keyboard::J));
    EXPECT_EQ(player.downKey(), static_cast<std::uint32_t>(Keyboard::K));
    EXPECT_EQ(player.leftKey(), static_cast<std::uint32_t>(Keyboard::L));
    EXPECT_EQ(player.rightKey(), static_cast<std::uint32_t>(Keyboard::M));
    EXPECT_EQ(player.slot[4], 0u);
    EXPECT_EQ(player.slot[5], 0u);
    const std::vector<std::string> expected = {
        "Press the jump key",  "Press the key again to confirm",
        "Press the down key",  "Press the key again to confirm",
        "Press the left key",  "Press the key again to confirm",
        "Press the right key", "Press the key again to confirm",
    };
    EXPECT_EQ(frames.prompts, expected);
}

TEST_F(KeyboardJoin, ADifferentSecondKeyIsDroppedAndTheStepAskedAgain) {
    FrameRecorder frames;
    startJoin();
    scriptPresses({Keyboard::J});
    scriptPassEnd();
    scriptPresses({Keyboard::K});
    scriptPassEnd();
    // J, K teaches nothing; then K, K, K teaches K: the first K is dropped.
    scriptPresses({Keyboard::J, Keyboard::K, Keyboard::K, Keyboard::K});
    scriptPassEnd();
    scriptPresses({Keyboard::D, Keyboard::D, Keyboard::L, Keyboard::L, Keyboard::R, Keyboard::R});
    joinKeyboardPlayer();

    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].jumpKey(), static_cast<std::uint32_t>(Keyboard::K));
    EXPECT_EQ(players[0].downKey(), static_cast<std::uint32_t>(Keyboard::D));
    ASSERT_GE(frames.prompts.size(), 3u);
    EXPECT_EQ(frames.prompts[0], "Press the jump key");
    EXPECT_EQ(frames.prompts[1], "Press the key again to confirm");
    EXPECT_EQ(frames.prompts[2], "Press the jump key");
}

TEST_F(KeyboardJoin, AHeldKeyTeachesItselfForEveryControlAndOnlyOnce) {
    // Key repeat: a held key sends one press after another, here all in one pass and more
    // of them than there are controls to teach.
    startJoin();
    for (int repeat = 0; repeat < 12; ++repeat) {
        scriptEvent(keyPressed(Keyboard::Space));
    }
    joinKeyboardPlayer();

    expectLobbyState(1);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(players[0].slot[s], static_cast<std::uint32_t>(Keyboard::Space));
    }
    EXPECT_EQ(players[0].slot[4], 0u);
    EXPECT_EQ(players[0].slot[5], 0u);
}

TEST_F(KeyboardJoin, ReleasesJoysticksAndOtherEventsTeachNothing) {
    startJoin();
    scriptEvent(keyReleased(Keyboard::J));
    scriptEvent(buttonPressed(0, 1));
    scriptEvent(buttonPressed(0, 1));
    scriptEvent(axisMoved(0, sf::Joystick::X, 100.0f));
    sf::Event focus{};
    focus.type = sf::Event::LostFocus;
    scriptEvent(focus);
    scriptPassEnd();
    scriptPresses({Keyboard::Unknown, Keyboard::Unknown, Keyboard::A, Keyboard::A, Keyboard::B,
                   Keyboard::B, Keyboard::C, Keyboard::C});
    joinKeyboardPlayer();

    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].jumpKey(), static_cast<std::uint32_t>(Keyboard::Unknown))
        << "a key the library can't name is taught like any other";
    EXPECT_EQ(players[0].rightKey(), static_cast<std::uint32_t>(Keyboard::C));
}

TEST_F(KeyboardJoin, EscapeAbandonsTheJoinAndRestoresTheLobby) {
    addKeyboardPlayer(Keyboard::A, Keyboard::S, Keyboard::D, Keyboard::F);
    startJoin();
    scriptPresses({Keyboard::J, Keyboard::J, Keyboard::K, Keyboard::K, Keyboard::L, Keyboard::L,
                   Keyboard::M, Keyboard::Escape, Keyboard::M});
    joinKeyboardPlayer();

    expectLobbyState(1);
    EXPECT_EQ(event.type, sf::Event::KeyPressed);
    EXPECT_EQ(event.key.code, Keyboard::Escape) << "the join returns at once";
    EXPECT_EQ(scriptEventsLeft(), 1);
    scriptEvent(keyPressed(Keyboard::M)); // keeps the script from running dry at teardown

    // The next join starts again from jump.
    FrameRecorder frames;
    startJoin();
    scriptEvent(keyPressed(Keyboard::M));
    scriptPresses({Keyboard::M, Keyboard::M, Keyboard::M, Keyboard::M, Keyboard::M, Keyboard::M,
                   Keyboard::M});
    joinKeyboardPlayer();
    expectLobbyState(2);
    ASSERT_FALSE(frames.prompts.empty());
    EXPECT_EQ(frames.prompts[0], "Press the jump key");
}

TEST_F(KeyboardJoin, TheCloseRequestEndsTheJoinWithoutAPlayer) {
    startJoin();
    scriptPresses({Keyboard::J, Keyboard::J, Keyboard::K});
    scriptEvent(closeRequest());
    scriptPresses({Keyboard::K, Keyboard::L, Keyboard::L, Keyboard::M, Keyboard::M});
    joinKeyboardPlayer();

    EXPECT_FALSE(window.isOpen());
    expectLobbyState(0);
}
