// The joystick join: buttons pressed twice or an axis pushed, let go and pushed again, its
// prompts, the events that teach nothing, and the ways a join ends without a player.
#include "support.hpp"

using sf::Event;
using sf::Joystick;

namespace {

const std::string jump = "Press the jump button";
const std::string again = "Press the button again to confirm";
const std::string down = "Press the down button";
const std::string left = "Press the left button or move an axis";
const std::string leftAgain = "Press the button or move the axis\n\tagain to confirm";
const std::string right = "Press the right button";

// Enters a join of this joystick the way the lobby does, and runs it.
void join(unsigned int joystickId) {
    joiningJoystickId = joystickId;
    joinInProgress = true;
    playerCount += 1;
    joinJoystickPlayer();
}

void scriptButtons(unsigned int joystickId, std::initializer_list<unsigned int> buttons) {
    for (unsigned int button : buttons) {
        scriptEvent(buttonEvent(Event::JoystickButtonPressed, joystickId, button));
    }
}

sf::Event unplugged(unsigned int joystickId) {
    sf::Event e{};
    e.type = Event::JoystickDisconnected;
    e.joystickConnect.joystickId = joystickId;
    return e;
}

void expectSlots(const Player& player, std::vector<std::uint32_t> slots) {
    EXPECT_EQ(player.device, "joystick");
    EXPECT_EQ(std::vector<std::uint32_t>(player.slot, player.slot + 6), slots);
}

} // namespace

class JoystickJoin : public GameTest {};

TEST_F(JoystickJoin, ButtonsPressedTwiceAreTaughtAndOnlyTheJoiningJoystickCounts) {
    std::vector<std::string> prompts;
    recordPrompts(prompts);
    // 4 then 5 teaches nothing; a move at step 0 is ignored however far.
    scriptButtons(2, {4});
    scriptEvent(axisMoved(2, Joystick::X, -100.0f));
    scriptButtons(2, {5});
    scriptPassEnd();
    scriptButtons(2, {4});
    scriptPassEnd();
    // Another joystick, keys (Escape too) and releases change nothing while a confirmation
    // is awaited.
    scriptButtons(3, {4});
    scriptEvent(axisMoved(3, Joystick::X, 100.0f));
    scriptPresses({sf::Keyboard::Escape, sf::Keyboard::J});
    scriptEvent(buttonEvent(Event::JoystickButtonReleased, 2, 4));
    scriptButtons(2, {4});
    scriptEvent(axisMoved(2, Joystick::Y, 100.0f));
    scriptPassEnd();
    scriptButtons(2, {5, 5, 6});
    scriptPassEnd();
    scriptButtons(2, {6});
    scriptEvent(axisMoved(2, Joystick::X, -100.0f));
    scriptPassEnd();
    // Button 8, queued behind the last confirmation, leaves the next join as it should start.
    scriptButtons(2, {7});
    scriptButtons(0, {7});
    scriptButtons(2, {7, 8});
    join(2);

    expectLobbyState(1);
    expectSlots(players[0], {2, 4, 5, 6, 7, Joystick::X});
    const std::vector<std::string> shown = {jump, jump, again, down, leftAgain, right};
    EXPECT_EQ(prompts, shown);
}

TEST_F(JoystickJoin, AnAxisPushedLetGoAndPushedAgainSteersInsteadOfButtons) {
    std::vector<std::string> prompts;
    recordPrompts(prompts);
    scriptButtons(0, {4, 4, 5, 5});
    scriptPassEnd();
    // Exactly 50 is no push. After the push nothing is drawn until the axis is back inside
    // 50, however many passes go by: a move of another axis, or to exactly 50, is not enough.
    scriptEvent(axisMoved(0, Joystick::X, 50.0f));
    scriptEvent(axisMoved(0, Joystick::X, -100.0f));
    scriptPassEnd();
    scriptEvent(axisMoved(0, Joystick::Y, 30.0f));
    scriptEvent(axisMoved(0, Joystick::X, -50.0f));
    scriptPassEnd();
    scriptEvent(axisMoved(0, Joystick::X, -10.0f));
    scriptPassEnd();
    // The direction doesn't count: pushed left, then right.
    scriptEvent(axisMoved(0, Joystick::X, 100.0f));
    join(0);

    expectLobbyState(1);
    expectSlots(players[0], {0, 4, 5, noButton, 0, Joystick::X});
    EXPECT_EQ(prompts, std::vector<std::string>({jump, left, leftAgain}));

    // The next join asks for jump. There a push of another axis as the confirmation teaches
    // nothing, and buttons still teach left and right.
    prompts.clear();
    scriptButtons(1, {1, 1, 2, 2});
    scriptPassEnd();
    scriptEvent(axisMoved(1, Joystick::Z, 100.0f));
    scriptEvent(axisMoved(1, Joystick::Z, 0.0f));
    scriptPassEnd();
    scriptEvent(axisMoved(1, Joystick::U, -100.0f));
    scriptPassEnd();
    scriptButtons(1, {3, 3, 4, 4});
    join(1);

    expectLobbyState(2);
    expectSlots(players[1], {1, 1, 2, 3, 4, Joystick::X});
    EXPECT_EQ(prompts, std::vector<std::string>({jump, left, leftAgain, left}));
}

TEST_F(JoystickJoin, EscapeWhileThePushedAxisIsHeldEndsTheProgram) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            scriptButtons(0, {4, 4, 5, 5});
            scriptEvent(axisMoved(0, Joystick::V, 100.0f));
            scriptPresses({sf::Keyboard::Escape});
            join(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(JoystickJoin, TheUnpluggedJoystickEndsTheJoinWithoutAPlayer) {
    // In the lobby: unplugging another joystick changes nothing; unplugging the joining one
    // ends the join, whether a confirmation is awaited or a pushed axis is held. The lobby
    // goes on, and the next join starts afresh and completes.
    scriptButtons(0, {9, 4, 4});
    scriptEvent(unplugged(1));
    scriptButtons(0, {5});
    scriptEvent(unplugged(0));
    scriptPassEnd();
    scriptButtons(0, {9, 4, 4, 5, 5});
    scriptEvent(axisMoved(0, Joystick::X, 100.0f));
    scriptEvent(unplugged(0));
    scriptPassEnd();
    scriptButtons(0, {9, 4, 4, 5, 5, 6, 6, 7, 7});
    scriptPassEnd();
    scriptEvent(closeRequest());
    runLobby();
    EXPECT_FALSE(window.isOpen());
    expectLobbyState(1);
    expectSlots(players[0], {0, 4, 5, 6, 7, Joystick::X});
}

TEST_F(JoystickJoin, TheTwoLineConfirmationIsCentredAsOneBlock) {
    bindingStep = 2;
    awaitingConfirm = true;
    sf::Image image;
    beforePresent = [&image] { image = grabWindow(); };
    showJoystickPrompt();
    bindingStep = 0;
    awaitingConfirm = false;
    // The first and last rows with ink.
    int top = 600, bottom = -1;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (image.getPixel(x, y).r < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_GT(bottom - top, 150) << "two lines of 100-pixel characters";
    EXPECT_NEAR(top + bottom, 600, 8) << "the pair centred vertically, within 4 pixels";
}
