// Joins: four controls each taught by a press and its confirmation, the prompts that ask for
// them, a keyboard join abandoned with Escape, and a joystick that teaches an axis.
#include "support.hpp"

using sf::Event;
using sf::Joystick;
using sf::Keyboard;

namespace {

const std::string again = "Press the button again to confirm";
const std::string left = "Press the left button or move an axis";
const std::string leftAgain = "Press the button or move the axis\n\tagain to confirm";

// Enters a join the way the lobby does, and runs it.
void joinKeyboard() {
    joinInProgress = true;
    playerCount += 1;
    joinKeyboardPlayer();
}

void joinJoystick(unsigned int joystickId) {
    joiningJoystickId = joystickId;
    joinInProgress = true;
    playerCount += 1;
    joinJoystickPlayer();
}

std::vector<std::uint32_t> slots(const Player& player) {
    return {player.slot, player.slot + 6};
}

} // namespace

class Joins : public GameTest {
  protected:
    std::vector<std::string> prompts;
    void SetUp() override {
        GameTest::SetUp();
        recordPrompts(prompts);
    }
};

TEST_F(Joins, AKeyIsTaughtByTwoPressesAndAMismatchAsksAgain) {
    scriptPresses({Keyboard::J});
    scriptPassEnd();
    scriptPresses({Keyboard::K}); // J, K teaches nothing
    scriptPassEnd();
    scriptPresses({Keyboard::J, Keyboard::K, Keyboard::K}); // J, K dropped; K waits
    scriptPassEnd();
    // Releases and buttons teach nothing.
    scriptEvent(keyEvent(Event::KeyReleased, Keyboard::K));
    scriptButtons(0, {1});
    scriptPresses({Keyboard::K, Keyboard::S});
    scriptEvent(keyEvent(Event::KeyReleased, Keyboard::S));
    scriptButtons(0, {1});
    scriptPresses({Keyboard::S});
    scriptPassEnd();
    scriptPresses({Keyboard::L, Keyboard::L, Keyboard::M, Keyboard::M, Keyboard::Q});
    joinKeyboard();

    expectLobbyState(1);
    EXPECT_EQ(players[0].device, "keyboard");
    EXPECT_EQ(players[0].index, 0);
    EXPECT_EQ(slots(players[0]), std::vector<std::uint32_t>(
                                     {Keyboard::K, Keyboard::S, Keyboard::L, Keyboard::M, 0, 0}));
    const std::string keyAgain = "Press the key again to confirm";
    EXPECT_EQ(prompts,
              std::vector<std::string>({"Press the jump key", keyAgain, "Press the jump key",
                                        keyAgain, "Press the left key"}));
}

TEST_F(Joins, EscapeAbandonsAKeyboardJoinAndTheNextStartsAfresh) {
    addKeyboardPlayer(Keyboard::W, Keyboard::S, Keyboard::A, Keyboard::D);
    scriptPresses({Keyboard::J, Keyboard::J, Keyboard::K, Keyboard::K, Keyboard::L, Keyboard::L,
                   Keyboard::M, Keyboard::Escape});
    joinKeyboard();
    expectLobbyState(1);
    scriptPresses({Keyboard::N, Keyboard::N, Keyboard::B, Keyboard::B, Keyboard::V, Keyboard::V,
                   Keyboard::C, Keyboard::C});
    joinKeyboard();
    expectLobbyState(2);
    EXPECT_EQ(players[1].index, 1);
    EXPECT_EQ(players[1].jumpKey(), static_cast<std::uint32_t>(Keyboard::N));
    EXPECT_EQ(players[1].rightKey(), static_cast<std::uint32_t>(Keyboard::C));
}

TEST_F(Joins, AJoystickTeachesFourButtonsAndOnlyItsOwnEventsCount) {
    scriptButtons(2, {4});
    scriptEvent(axisMoved(2, Joystick::X, -100)); // a move at step 0 is ignored
    scriptButtons(2, {5});
    scriptPassEnd();
    scriptButtons(2, {4});
    scriptPassEnd();
    scriptButtons(3, {4});
    scriptEvent(axisMoved(3, Joystick::X, 100));
    scriptPresses({Keyboard::Escape, Keyboard::J});
    scriptEvent(buttonEvent(Event::JoystickButtonReleased, 2, 4));
    scriptButtons(2, {4, 5, 5, 6});
    scriptPassEnd();
    scriptButtons(2, {6});
    scriptPassEnd();
    scriptButtons(2, {7, 7, 8});
    joinJoystick(2);

    expectLobbyState(1);
    EXPECT_EQ(players[0].device, "joystick");
    EXPECT_EQ(slots(players[0]), std::vector<std::uint32_t>({2, 4, 5, 6, 7, 0}));
    EXPECT_EQ(prompts, std::vector<std::string>({"Press the jump button", "Press the jump button",
                                                 again, leftAgain, "Press the right button"}));
}

TEST_F(Joins, AnAxisPushedLetGoAndPushedAgainSteersInsteadOfButtons) {
    scriptButtons(0, {4, 4, 5, 5});
    scriptPassEnd();
    // Exactly 50 is no push; after a push nothing is shown until the axis is back inside 50.
    scriptEvent(axisMoved(0, Joystick::X, 50));
    scriptEvent(axisMoved(0, Joystick::X, -100));
    scriptPassEnd();
    scriptEvent(axisMoved(0, Joystick::Y, 10));
    scriptEvent(axisMoved(0, Joystick::X, -50));
    scriptPassEnd();
    scriptEvent(axisMoved(0, Joystick::X, -49));
    scriptPassEnd();
    scriptEvent(axisMoved(0, Joystick::X, 100)); // either way
    joinJoystick(0);
    expectLobbyState(1);
    EXPECT_EQ(slots(players[0]), std::vector<std::uint32_t>({0, 4, 5, noButton, 0, Joystick::X}));
    EXPECT_EQ(prompts, std::vector<std::string>({"Press the jump button", left, leftAgain}));

    // A push of another axis as the confirmation teaches nothing; buttons still teach left.
    prompts.clear();
    scriptButtons(1, {1, 1, 2, 2});
    scriptEvent(axisMoved(1, Joystick::Z, 100));
    scriptEvent(axisMoved(1, Joystick::Z, 0));
    scriptEvent(axisMoved(1, Joystick::U, -100));
    scriptEvent(axisMoved(1, Joystick::U, 0));
    scriptPassEnd();
    scriptButtons(1, {3, 3, 4, 4});
    joinJoystick(1);
    expectLobbyState(2);
    EXPECT_EQ(slots(players[1]), std::vector<std::uint32_t>({1, 1, 2, 3, 4, 0}));
    EXPECT_EQ(prompts.back(), left);
}

TEST_F(Joins, UnpluggingTheJoiningJoystickEndsItsJoinWithoutAPlayer) {
    Event unplugged{};
    unplugged.type = Event::JoystickDisconnected;
    unplugged.joystickConnect.joystickId = 1;
    scriptButtons(0, {4, 4});
    scriptEvent(unplugged); // another joystick
    scriptButtons(0, {5, 5});
    scriptEvent(axisMoved(0, Joystick::X, 100));
    scriptEvent(axisMoved(0, Joystick::X, 0));
    unplugged.joystickConnect.joystickId = 0;
    scriptEvent(unplugged);
    joinJoystick(0);
    expectLobbyState(0);
    scriptButtons(0, {4, 4, 5, 5});
    scriptEvent(axisMoved(0, Joystick::X, 100));
    scriptEvent(unplugged);
    joinJoystick(0);
    expectLobbyState(0);
}

TEST_F(Joins, EscapeWhileThePushedAxisIsHeldEndsTheProgram) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            scriptButtons(0, {4, 4, 5, 5});
            scriptEvent(axisMoved(0, Joystick::V, 100));
            scriptPresses({Keyboard::Escape});
            joinJoystick(0);
        },
        testing::ExitedWithCode(0), "");
}
