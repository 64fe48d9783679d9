// Joins: four controls each taught by a press and its confirmation, the prompts that ask for
// them, a keyboard join abandoned with Escape, a joystick that teaches an axis, and joined pads
// that come and go meanwhile.
#include "support.hpp"

namespace {

const std::string jump = "Press the jump button";
const std::string left = "Press the left button or move an axis";
const std::string leftAgain = "Press the button or move the axis\n\tagain to confirm";
// The prompt of every frame shown by the last join.
std::vector<std::string> prompts;

// Enters a join the way the lobby does, runs it on the scripted words, and gives the device
// and slots of the player it added ("-" when it added none). Either way the lobby's state must
// be whole again: every player counted, no binding half done.
std::string join(const std::string& words, int joystickId = -1) {
    prompts.clear();
    beforePresent = [] { prompts.push_back(promptText.getString().toAnsiString()); };
    script(words);
    joinInProgress = true;
    playerCount += 1;
    const std::size_t before = players.size();
    joiningJoystickId = static_cast<unsigned int>(joystickId);
    joystickId < 0 ? joinKeyboardPlayer() : joinJoystickPlayer();
    EXPECT_TRUE(playerCount == static_cast<int>(players.size()) &&
                !(bindingStep || awaitingConfirm || axisHeld || joinInProgress));
    std::string slots = players.size() == before ? "-" : players.back().device;
    for (std::size_t i = 0; slots != "-" && i < 6; ++i) {
        const std::uint32_t slot = players.back().slot[i];
        slots += " " + (slot == noButton ? std::string("none") : std::to_string(slot));
    }
    return slots;
}

} // namespace

class Joins : public GameTest {};

TEST_F(Joins, AKeyIsTaughtByTwoPressesAndAMismatchAsksAgainAndEscapeAbandonsTheJoin) {
    // J K teaches nothing; J K K drops J and K and waits for a K; releases and buttons
    // teach nothing; a press behind the last confirmation is left alone.
    EXPECT_EQ(join("J | K | J K K | ~K 0:1 K | S ~S 0:1 S | L L | M M Q"),
              "keyboard 10 18 11 12 0 0");
    const std::string keyAgain = "Press the key again to confirm";
    EXPECT_EQ(prompts, std::vector<std::string>(
                           {"Press the jump key", keyAgain, "Press the jump key", keyAgain,
                            "Press the down key", "Press the left key", "Press the right key"}));
    // Escape abandons a join, and the next starts afresh.
    EXPECT_EQ(join("J J K K L L M Escape"), "-");
    EXPECT_EQ(join("A A B B C C D D"), "keyboard 0 1 2 3 0 0");
}

TEST_F(Joins, AJoystickTeachesFourButtonsOrAnAxisAndOnlyItsOwnEventsCount) {
    // Axes count only while left is asked for: pushes while jump, down or right is asked for
    // are ignored. Another joystick, keys, Escape and releases are ignored too. Frames come at
    // the game's pace.
    limitFrames(60);
    EXPECT_EQ(join("2:4 2:X=-100 2:5 | 2:4 | 3:4 3:X=100 Escape J ~2:4 2:4 | 2:Y=99 2:Y=0 "
                   "2:Y=99 2:5 2:5 | 2:6 | 2:6 | 2:U=-99 2:U=0 2:U=-99 2:7 2:7 2:8",
                   2),
              "joystick 2 4 5 6 7 0");
    EXPECT_EQ(prompts, std::vector<std::string>({jump, jump, "Press the button again to confirm",
                                                 "Press the down button", left, leftAgain,
                                                 "Press the right button"}));
    // An axis pushed, let go and pushed again steers instead of buttons. Exactly 50 is no push;
    // after a push nothing is shown until the axis is back inside 50, whichever other axis moves;
    // the confirming push may go the other way, and is heard as one control taught (at the
    // game's pace, the two taught in one frame as one).
    heard();
    EXPECT_EQ(join("0:4 0:4 0:5 0:5 | 0:Y=50 0:X=-100 | 0:Y=10 0:X=-50 | 0:X=-49 | 0:X=100", 0),
              "joystick 0 4 5 none 0 0");
    EXPECT_EQ(heard(), "taught taught joined");
    EXPECT_EQ(prompts, std::vector<std::string>({jump, left, leftAgain}));
    // A push of another axis as the confirmation teaches nothing; buttons still teach left.
    EXPECT_EQ(join("1:1 1:1 1:2 1:2 1:Z=100 1:Z=0 1:U=-100 1:U=0 | 1:3 1:3 1:4 1:4", 1),
              "joystick 1 1 2 3 4 0");
    EXPECT_EQ(join("2:1 2:1 2:2 2:2 2:R=-80 2:R=0 2:R=90", 2), "joystick 2 1 2 none 0 3");
    // Unplugging the joining joystick ends its join without a player, even while the axis is
    // held; Escape while it is held ends the program.
    EXPECT_EQ(join("0:4 0:4 -1 0:5 0:5 0:X=100 0:X=0 -0", 0), "-");
    EXPECT_EQ(join("0:4 0:4 0:5 0:5 0:X=100 -0", 0), "-");
    EXPECT_EXIT(join("0:4 0:4 0:5 0:5 0:V=100 Escape", 0), testing::ExitedWithCode(0), "");
}

TEST_F(Joins, AJoinedPadThatGoesOrComesBackWhileAnotherJoinsIsAbsentOrBackAfterIt) {
    // Player 0 on joystick 5; the words of a join (keyboard, or the joystick named), and whether
    // player 0 is absent after it, also when it went while the join waited for an axis to be let
    // go. (That it comes back not ready: the lobby's test.)
    addPlayer({5, 1, 2, 3, 4});
    // clang-format off
    const std::tuple<const char*, int, bool> joins[] = {
        {"J -5 J | K K | L L | M M", -1, true}, {"1:1 +5 1:1 1:2 1:2 1:3 1:3 1:4 1:4", 1, false},
        {"2:1 2:1 2:2 2:2 2:X=100 -5 2:X=0 2:X=100", 2, true}};
    // clang-format on
    for (const auto& [words, joystickId, absent] : joins) {
        EXPECT_NE(join(words, joystickId), "-") << words;
        EXPECT_EQ(players[0].absent, absent) << words;
    }
}
