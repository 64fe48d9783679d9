// The keyboard join: four keys each pressed twice, and its prompts.
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
