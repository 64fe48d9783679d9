// Fuzz driver: seeded random events through the real lobby loop, its joins and its matches, or
// one long match of a crowd; the game's rules are checked between every two events and at every
// frame shown.
//
// Usage: twinrunfuzz [events] [seed]              random events (300000 from seed 1)
//        twinrunfuzz --play TICKS PLAYERS [seed]  PLAYERS keyboard players (one key each for
//            all four controls) join, get ready and play one match of TICKS ticks, put back
//            when out; then Escape ends it.
// A broken rule prints the rule, the seed and the events before it, and aborts.
#include "script.hpp"

#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "match/match.hpp"
#include "roster/roster.hpp"

#include <SFML/System/Err.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using sf::Event;

std::mt19937 draw;
unsigned long seed = 1;
long eventsWanted = 300000, eventsSent = 0, playTicks = 0, ticks = 0;
int crowd = 0;
// The last events sent, for the report of a broken rule; the last press, which a join is
// often given again to confirm a control.
Event recent[20];
Event lastPress{};
// The match as the last frame left it: its score and who is out; empty outside a match.
double lastScore = 0.0;
std::vector<bool> out;

unsigned int below(unsigned int n) {
    return draw() % n;
}

// An event of the given type with its first three data words (key code; or joystick, button
// or axis, and position); see sf::Event.
Event make(Event::EventType type, unsigned int a, unsigned int b = 0, float position = 0) {
    Event e{};
    e.type = type;
    e.joystickMove = {a, static_cast<sf::Joystick::Axis>(b), position};
    return e;
}

void check(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "fuzz: %s, after event %ld of seed %lu; the events before it:\n", rule,
                     eventsSent, seed);
        for (long i = std::max(0L, eventsSent - 20); i < eventsSent; ++i) {
            const Event& e = recent[i % 20];
            std::fprintf(stderr, "  type %d: %u %d %.1f\n", e.type, e.joystickMove.joystickId,
                         e.joystickMove.axis, e.joystickMove.position);
        }
        std::abort();
    }
}

// The bookkeeping that holds whenever the game asks for an event or shows a frame.
void checkState() {
    check(playerCount == static_cast<int>(players.size()) + (joinInProgress ? 1 : 0),
          "the count equals the records, and one more during a join");
    check(joinInProgress || (bindingStep == 0 && !awaitingConfirm && !axisHeld),
          "no binding is half done between joins");
    for (std::size_t p = 0; p < players.size(); ++p) {
        check(players[p].index == static_cast<int>(p), "each record's index is its place");
        for (std::size_t q = 0; q < p && players[p].device == "joystick"; ++q) {
            check(players[q].device != "joystick" ||
                      players[q].joystickId() != players[p].joystickId(),
                  "no joystick joins twice");
        }
    }
    check(entityCount == static_cast<int>(entities.size()), "every entity counted is in the list");
}

// At every frame the bookkeeping, and at a tick (a frame of a match, or its last with
// everyone out) the rules of play.
void atFrame() {
    checkState();
    const bool allIn = std::all_of(players.begin(), players.end(),
                                   [](const Player& player) { return player.alive; });
    if (!matchRunning && allIn) {
        out.clear();
        return;
    }
    if (out.empty()) {
        lastScore = 0.0;
        out.assign(players.size(), false);
    }
    ticks += 1;
    check(score >= lastScore, "the score never falls within a match");
    check(entityCount <= 64, "the entity list stays short");
    lastScore = score;
    for (std::size_t p = 0; p < players.size(); ++p) {
        Player& player = players[p];
        check(!out[p] || !player.alive, "a player out stays out until the match ends");
        check(!player.alive || player.x <= static_cast<float>(screenWidth / 2),
              "no living player is right of the middle");
        if (!player.alive && ticks < playTicks) {
            // The long play's players start again at the left, on the ground.
            player.alive = true;
            player.hitTimer = -1;
            player.x = 30.0f;
            player.y = floorY;
            matchRunning = true;
        }
        out[p] = !player.alive;
    }
}

// Positions in steps of 12.5 from -100 to 100: the ends, the centre and the threshold, where
// comparisons turn, among them.
float anyPosition() {
    return static_cast<float>(below(17)) * 12.5f - 100.0f;
}

// Any event the window could deliver, with any key, joystick (past the library's 8), button
// (past its 32) or axis.
Event anyEvent() {
    // clang-format off
    static const Event::EventType types[] = {
        Event::KeyPressed, Event::KeyReleased, Event::JoystickButtonPressed,
        Event::JoystickButtonReleased, Event::JoystickMoved, Event::JoystickConnected,
        Event::JoystickDisconnected, Event::GainedFocus, Event::Resized};
    // clang-format on
    const unsigned int pick = below(9);
    if (pick < 2) {
        return make(types[pick], below(sf::Keyboard::KeyCount + 1) - 1);
    }
    return make(types[pick], below(sf::Joystick::Count + 2), below(pick == 4 ? 8 : 40),
                anyPosition());
}

// A press or release of one of a player's controls (0 jump, 1 down, 2 left, 3 right), or a
// move of its steering axis.
Event controlOf(const Player& player, bool press, unsigned int control) {
    if (player.device == "keyboard") {
        return make(press ? Event::KeyPressed : Event::KeyReleased, player.slot[control]);
    }
    if (player.slot[3] == noButton && control >= 2 && below(2) == 0) {
        return make(Event::JoystickMoved, player.slot[0], player.slot[5], anyPosition());
    }
    return make(press ? Event::JoystickButtonPressed : Event::JoystickButtonReleased,
                player.slot[0], player.slot[1 + control]);
}

Event controlEvent() {
    return controlOf(players[below(static_cast<unsigned int>(players.size()))], below(5) < 3,
                     below(4));
}

// A random event for where it will be handled: mostly controls in a match and in the lobby;
// in a join mostly the same press again, which teaches a control, or a push of the joining
// joystick's axis; in the wait for that axis, moves of it.
Event randomEvent() {
    const unsigned int pick = below(100);
    if (below(8000) == 0) {
        return make(Event::Closed, 0);
    }
    if (axisHeld && pick < 60) {
        return make(Event::JoystickMoved, joiningJoystickId, pendingAxis, anyPosition() * 0.45f);
    }
    if (joinInProgress && !axisHeld && pick < 85) {
        return pick < 60   ? lastPress
               : pick < 70 ? make(Event::JoystickButtonPressed, joiningJoystickId, below(40))
                           : make(Event::JoystickMoved, joiningJoystickId,
                                  awaitingConfirm ? pendingAxis : below(8), pick < 78 ? 100 : -75);
    }
    const bool control = matchRunning ? pick < 90 : !joinInProgress && pick < 97;
    return control && !players.empty() ? controlEvent() : anyEvent();
}

// Appends an event to the script. Escape in the lobby or while a joystick's axis is let go ends
// the whole program, which the end-to-end test covers; the run goes on with its release.
void send(Event e) {
    if (e.type == Event::KeyPressed && e.key.code == sf::Keyboard::Escape && !matchRunning &&
        (axisHeld || !joinInProgress)) {
        e.type = Event::KeyReleased;
    }
    const bool press = e.type == Event::KeyPressed || e.type == Event::JoystickButtonPressed;
    lastPress = press ? e : lastPress;
    recent[eventsSent++ % 20] = e;
    scriptEvent(e);
}

// The script's supply: checks the state the last event left, then appends to the script. Once
// done, Escape ends a match, and the script running dry the lobby.
bool supplyNext() {
    checkState();
    const bool lobby = !matchRunning && !joinInProgress;
    const bool done = playTicks > 0 ? ticks >= playTicks : eventsSent >= eventsWanted;
    if (done && !matchRunning) {
        return false;
    }
    const bool crowdIn = static_cast<int>(players.size()) == crowd;
    if (lobby && !players.empty() && (playTicks > 0 ? crowdIn : below(500) == 0)) {
        // Everyone's jump in one pass, which starts a match unless two players share a key.
        for (const Player& player : players) {
            send(controlOf(player, true, 0));
        }
        scriptPassEnd();
        return true;
    }
    // A lobby pass takes many events, a join's and a match's few, so that prompts and ticks
    // come often.
    if (below(1000) < (lobby && playTicks == 0         ? 7u
                       : matchRunning && playTicks > 0 ? 800u
                                                       : 300u)) {
        scriptPassEnd();
    } else if (done) {
        send(make(Event::KeyPressed, sf::Keyboard::Escape));
    } else if (playTicks == 0) {
        send(randomEvent());
    } else {
        // The crowd joins one key each, Escape left out; in the match, random controls.
        const auto code = static_cast<unsigned int>(players.size());
        send(matchRunning ? controlEvent()
                          : make(Event::KeyPressed, code < sf::Keyboard::Escape ? code : code + 1));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool play = argc > 3 && std::string(argv[1]) == "--play";
    playTicks = play ? std::atol(argv[2]) : 0;
    crowd = play ? std::atoi(argv[3]) : 0;
    eventsWanted = !play && argc > 1 ? std::atol(argv[1]) : eventsWanted;
    seed = argc > (play ? 4 : 2) ? std::strtoul(argv[play ? 4 : 2], nullptr, 10) : 1;
    draw.seed(static_cast<std::mt19937::result_type>(seed));
    // The game's traces (axis steering, flyers) would bury the report, which goes to stderr.
    sf::err().rdbuf(nullptr);
    std::cerr.rdbuf(nullptr);
    screenWidth = 480;
    screenHeight = 360;
    setupLobby();
    std::srand(static_cast<unsigned int>(seed));
    startScript(static_cast<unsigned int>(seed));
    scriptSource(supplyNext);
    beforePresent = atFrame;
    // Sessions, each a fresh game, until the script runs dry.
    while (!scriptRanDry()) {
        players.clear();
        playerCount = 0;
        out.clear();
        window.create(sf::VideoMode(480, 360), "Twinrun fuzz", sf::Style::None);
        runLobby();
    }
    std::printf("fuzz: seed %lu: %ld events, %ld ticks\n", seed, eventsSent, ticks);
    return 0;
}
