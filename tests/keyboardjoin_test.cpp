// The keyboard join: four keys each pressed twice, its prompts, and the ways a join ends
// without a player.
#include "support.hpp"

using sf::Event;
using sf::Keyboard;

namespace {

// Enters a join the way the lobby does, and runs it.
void join() {
    joinInProgress = true;
    playerCount += 1;
    joinKeyboardPlayer();
}

} // namespace

class KeyboardJoin : public GameTest {};

TEST_F(KeyboardJoin, EachKeyPressedTwiceIsTaughtInOrderAndOtherEventsTeachNothing) {
    std::vector<std::string> prompts;
    recordPrompts(prompts);
    // J then K teaches nothing; J K K K teaches K: the first K is dropped.
    scriptPresses({Keyboard::J});
    scriptPassEnd();
    scriptPresses({Keyboard::K});
    scriptPassEnd();
    scriptPresses({Keyboard::J, Keyboard::K, Keyboard::K});
    scriptPassEnd();
    scriptEvent(keyEvent(Event::KeyReleased, Keyboard::K));
    scriptEvent(buttonEvent(Event::JoystickButtonPressed, 0, 1));
    scriptPresses({Keyboard::K});
    scriptPassEnd();
    scriptPresses({Keyboard::Unknown, Keyboard::Unknown});
    scriptPassEnd();
    scriptPresses({Keyboard::L, Keyboard::L, Keyboard::M, Keyboard::M});
    join();

    expectLobbyState(1);
    const Player& player = players[0];
    EXPECT_EQ(player.device, "keyboard");
    const std::uint32_t taught[6] = {
        Keyboard::K, static_cast<std::uint32_t>(Keyboard::Unknown), Keyboard::L, Keyboard::M, 0, 0};
    EXPECT_TRUE(std::equal(taught, taught + 6, player.slot));
    const std::vector<std::string> shown = {"Press the jump key", "Press the key again to confirm",
                                            "Press the jump key", "Press the key again to confirm",
                                            "Press the down key", "Press the left key"};
    EXPECT_EQ(prompts, shown);
}

TEST_F(KeyboardJoin, AHeldKeyTeachesItselfForEveryControlAndOnlyOnce) {
    // Key repeat queues more presses in one pass than there are controls to teach.
    for (int repeat = 0; repeat < 12; ++repeat) {
        scriptPresses({Keyboard::Space});
    }
    join();
    expectLobbyState(1);
    const std::uint32_t taught[6] = {
        Keyboard::Space, Keyboard::Space, Keyboard::Space, Keyboard::Space, 0, 0};
    EXPECT_TRUE(std::equal(taught, taught + 6, players[0].slot));
}

TEST_F(KeyboardJoin, EscapeAfterThreeControlsLeavesTheLobbyAsItWas) {
    addKeyboardPlayer(Keyboard::A, Keyboard::S, Keyboard::D, Keyboard::F);
    scriptPresses({Keyboard::J, Keyboard::J, Keyboard::K, Keyboard::K, Keyboard::L, Keyboard::L,
                   Keyboard::M, Keyboard::Escape});
    join();
    expectLobbyState(1);
    EXPECT_EQ(event.key.code, Keyboard::Escape) << "the caller goes on with the Escape";

    std::vector<std::string> prompts;
    recordPrompts(prompts);
    scriptPresses({Keyboard::M, Keyboard::M, Keyboard::M, Keyboard::M, Keyboard::M, Keyboard::M,
                   Keyboard::M, Keyboard::M});
    join();
    expectLobbyState(2);
    EXPECT_EQ(prompts.front(), "Press the jump key") << "the next join starts from jump";
}
