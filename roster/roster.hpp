// The roster: the Player record and the joined players, the state of a join's binding
// capture, the lobby's texts and images, and the operations of joins, lobby and controls.
#pragma once

#include "core/platform.hpp"

#include <SFML/Graphics.hpp>

#include <cstdint>
#include <string>
#include <vector>

// The binding value with all bits set; as a joystick player's left button it marks
// steering by an axis instead of left and right buttons.
constexpr std::uint32_t noButton = 0xFFFFFFFFu;
// An axis counts as pushed beyond this distance from the centre, and as let go inside it.
constexpr float axisThreshold = 50.0f;

// One joined person: device, lobby mark, the dinosaur's match state and six binding slots
// whose meaning depends on the device (see the accessors).
struct Player {
    std::int32_t index = 0;
    std::string device;
    bool ready = false;
    // A joystick player whose joystick is disconnected: it holds nothing, is never ready and
    // sits out the matches that start until the joystick connects again.
    bool absent = false;
    bool jumping = false;
    bool onPlatform = false;
    bool platformFound = false;
    bool jumpPressed = false;
    bool downPressed = false;
    std::int32_t hitTimer = -1;
    bool alive = true;
    float x = 0.0f;
    float y = 0.0f;
    float speed = 0.0f;
    float width = 111.0f;
    float height = 118.0f;
    float jumpStartY = 0.0f;
    // Matches this player has won since the game started.
    std::int32_t wins = 0;
    // What a joystick player's controller was last told.
    ControllerState told = ControllerState::notJoined;
    std::uint32_t slot[6] = {0, 0, 0, 0, 0, 0};

    // A keyboard player's keys: slots 1 to 4.
    std::uint32_t& jumpKey() { return slot[0]; }
    std::uint32_t& downKey() { return slot[1]; }
    std::uint32_t& leftKey() { return slot[2]; }
    std::uint32_t& rightKey() { return slot[3]; }
    // A joystick player's joystick, buttons and steering axis: slots 1 to 6.
    std::uint32_t& joystickId() { return slot[0]; }
    std::uint32_t& jumpButton() { return slot[1]; }
    std::uint32_t& downButton() { return slot[2]; }
    std::uint32_t& leftButton() { return slot[3]; }
    std::uint32_t& rightButton() { return slot[4]; }
    std::uint32_t& axis() { return slot[5]; }
};

// Which player a key, button or axis move belongs to, and as which control.
struct PlayerAction {
    std::int32_t playerIndex = 0;
    // "jump", "down", "left", "right" or "axis"; empty when nothing matched.
    std::string action;
    // For "axis": the axis position divided by 100.
    float value = 0.0f;
};

// The joined players in join order; element i is player number i.
extern std::vector<Player> players;
// Number of joined players; during a join it already counts the joining player.
extern std::int32_t playerCount;
// Number of the player who won the last match: the last dinosaur out. -1 before the first
// match, after a match whose last dinosaurs went out in the same tick, and after one that
// was left with Escape.
extern std::int32_t matchWinner;

// Number of controls taught so far in the current join (0 jump, 1 down, 2 left, 3 right).
extern std::int32_t bindingStep;
// A binding's first press was seen; its confirming press is awaited.
extern bool awaitingConfirm;
// The key of a binding's first press.
extern std::uint32_t pendingKey;
// Joystick number of the device that is joining.
extern std::uint32_t joiningJoystickId;
// Joystick button of a binding's first press.
extern std::uint32_t pendingButton;
// Joystick axis of a binding's first push.
extern std::uint32_t pendingAxis;
// Waiting for the first-pushed axis to come back inside the threshold.
extern bool axisHeld;

// Font of the invitation and of the join prompts, loaded once by setupLobby.
extern sf::Font uiFont;
// The invitation shown while nobody has joined.
extern sf::Text lobbyText;
// The prompt of the join screens.
extern sf::Text promptText;
// The lobby's figure of a player and the ready mark, with their files.
extern std::string idlePath;
extern sf::Texture idleTexture;
extern sf::Sprite idleSprite;
extern std::string markPath;
extern sf::Texture markTexture;
extern sf::Sprite markSprite;

// A fresh record for the player being joined, numbered playerCount - 1.
Player newPlayer();
// Appends a completed record to the roster.
void appendPlayer(const Player& player);
// Runs a join's capture: passes of one prompt frame each, handing every queued event to
// takeEvent, until four controls are taught. False when the join must end without a player:
// takeEvent said so, or the window was closed.
bool captureBindings(Player& player, void (*showFrame)(), bool (*takeEvent)(Player&));
// Takes a press of a key or button while a control is asked for: a first press is kept in
// pending; the next press confirms it when it is the same and then counts the control as
// taught (true), or is dropped when it differs.
bool takeBindingPress(std::uint32_t pressed, std::uint32_t& pending);
// Appends the joined player and leaves the join.
void finishJoin(const Player& player);
// Ends a join without a new player and restores the lobby's state.
void abandonJoin();
// The colour of player p on white (night false) or on black (night true). Numbers past the
// table reuse it from the start, so no number reads outside it.
sf::Color playerColor(int p, bool night);
// The opacity of what the lobby shows of a player: an absent one's is faded to a third.
sf::Uint8 lobbyOpacity(const Player& player);

// Room kept free on the left and right of a centred text, in pixels.
constexpr float textMargin = 16.0f;
// Centres text on the screen, shrunk around its centre when it is wider than the screen less
// textMargin on each side; a text that fits keeps its size.
void centreOnScreen(sf::Text& text);
// Draws and presents one frame of a join screen showing text.
void showPrompt(const char* text);
void joinKeyboardPlayer();
void showKeyboardPrompt();
void joinJoystickPlayer();
void showJoystickPrompt();
// Joins the phone of joiningJoystickId at once: its page names its buttons, so nothing is taught.
void joinPhonePlayer();

// Where player number p stands now: in a match, running, stunned or out; in the lobby, ready,
// or else (from what its controller was last told) joined, not ready, or the winner or out of
// the match just over until it marks ready again.
ControllerState standingOf(const Player& player, int p);
// Tells each joystick player's controller where its player stands when that changed.
void tellControllers();

void setupLobby();
void drawLobby();
// Makes the crown's picture and the text of the wins (setupLobby); draws player p's crown on
// its figure's head, and its wins under the figure if it has any. The figure is centred at
// centre, of the size figure.
void setupWinMarks();
void drawCrown(int p, sf::Vector2f centre, sf::Vector2f figure);
void drawWins(int p, sf::Vector2f centre, sf::Vector2f figure);

PlayerAction findKeyAction(std::uint32_t key);
PlayerAction findButtonAction(std::uint32_t button);
void handleMatchKeyEvent();
void handleMatchJoystickEvent();
// Takes the current event when it is a joystick's disconnection or connection. The player of a
// disconnected joystick lets go of everything it held, loses its ready mark and is absent; when
// the same joystick number connects again it is present with its controls, and not ready. A
// joystick that connects with no player is told so. Other events and other players are left
// alone.
void trackJoystickPresence();
