// The lobby loop: draws the lobby, starts a match when everyone is ready, dispatches the
// lobby's events to joins and ready marks, and tells the controllers where their players stand.
#include "app/lobbyloop.hpp"

#include "core/globals.hpp"
#include "core/phones/phones.hpp"
#include "core/platform.hpp"
#include "match/match.hpp"
#include "roster/phonecard.hpp"
#include "roster/roster.hpp"

#include <cstdlib>

PlayerAction lobbyAction;

namespace {

// Every present player is ready, and there is at least one: absent players don't count.
bool everyoneReady() {
    bool anyonePresent = false;
    for (int p = 0; p < playerCount; ++p) {
        if (players[p].absent) {
            continue;
        }
        if (!players[p].ready) {
            return false;
        }
        anyonePresent = true;
    }
    return anyonePresent;
}

bool joystickPlayerUses(std::uint32_t joystickId) {
    for (int p = 0; p < playerCount; ++p) {
        if (players[p].device == "joystick" && players[p].joystickId() == joystickId) {
            return true;
        }
    }
    return false;
}

// "jump" marks the looked-up player ready, "down" takes the mark back; a change is heard.
void applyLobbyAction() {
    if (lobbyAction.action.empty()) {
        return;
    }
    bool& ready = players[lobbyAction.playerIndex].ready;
    if (lobbyAction.action == "jump" && !ready) {
        ready = true;
        playSound(Sound::ready);
    } else if (lobbyAction.action == "down" && ready) {
        ready = false;
        playSound(Sound::unready);
    }
}

} // namespace

void handleLobbyEvent() {
    trackJoystickPresence();
    if (event.type == sf::Event::KeyPressed) {
        const auto key = static_cast<std::uint32_t>(event.key.code);
        if (event.key.code == sf::Keyboard::Escape) {
            // Meant: Escape in the lobby ends the process at once, from inside the loop.
            window.close();
            std::exit(0);
        }
        // A key that no keyboard player taught starts the join of a new one.
        const PlayerAction found = findKeyAction(key);
        if (!joinInProgress && found.action.empty()) {
            joinInProgress = true;
            playerCount += 1;
            joinKeyboardPlayer();
        } else {
            lobbyAction = found;
            applyLobbyAction();
        }
    }
    // A keyboard join returns with the last event it polled, which the checks below see like
    // any lobby event: a button of a joystick that nobody uses starts its join, and one of a
    // joystick already in the roster is looked up, so no joystick ever joins twice.
    if (event.type == sf::Event::JoystickButtonPressed) {
        if (!joinInProgress && !joystickPlayerUses(event.joystickButton.joystickId)) {
            joiningJoystickId = event.joystickButton.joystickId;
            joinInProgress = true;
            playerCount += 1;
            joiningJoystickId >= firstPhoneJoystick ? joinPhonePlayer() : joinJoystickPlayer();
        } else {
            lobbyAction = findButtonAction(event.joystickButton.button);
            applyLobbyAction();
        }
    }
    if (event.type == sf::Event::Closed) {
        window.close();
    }
}

void lobbyPass() {
    window.clear(sf::Color::White);
    if (everyoneReady()) {
        matchRunning = true;
        playSound(Sound::matchStart);
        for (int p = 0; p < playerCount; ++p) {
            players[p].ready = false;
        }
        runMatch();
    } else {
        playMusic(Music::lobby);
        if (playerCount == 0) {
            window.draw(lobbyText, sf::RenderStates::Default);
        } else {
            drawLobby();
        }
        drawPhoneCard();
    }
    while (pollInput()) {
        handleLobbyEvent();
    }
    tellControllers();
    presentFrame();
}

void runLobby() {
    while (window.isOpen()) {
        lobbyPass();
    }
}
