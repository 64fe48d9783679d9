// Fuzz driver: seeded random input through the real lobby, joins and matches, rules checked.
//
// Usage: twinrunfuzz [events] [seed]              random events (300000 from seed 1), session
//            after session, until they are sent
//        twinrunfuzz --play TICKS PLAYERS [seed]  PLAYERS keyboard players (one key each for
//            all four controls) join, get ready and play one match of TICKS ticks, put back
//            when out; then Escape ends it.
// The rules are checked between every two events and at every frame shown; a broken one prints
// the rule, the seed and the last event, and aborts.
#include "script.hpp"

#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "match/match.hpp"
#include "roster/roster.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using sf::Event;

std::mt19937 draw;
// Events sent and ticks shown; the events wanted, or the long play's ticks; its players; the seed.
long eventsSent = 0, ticks = 0, wanted = 300000, crowd = 0, seed = 1;
// The last event sent, for the report, and the last press, which a join often gets again as
// the confirmation of a control.
Event last{}, pressed{};
// The match as the last check saw it: its score; who is out; and who was absent at the last frame
// shown outside a match: the lobby's frame before a match shows who sits that match out.
double lastScore = 0.0;
std::vector<bool> out, satOut;

// An event, to be sent, of type t with its first three data words: a key code; or a joystick,
// its button or axis, and a position, by default one of -100 to 100 in steps of 12.5 (the
// ends, the centre and the threshold, where comparisons turn, among them). Escape pressed in
// the lobby or while a joystick's axis is let go ends the whole program, which the end-to-end
// test covers; here it becomes its release. A press is kept as the last press.
Event make(Event::EventType t, unsigned a, unsigned b = 0, float at = draw() % 17 * 12.5f - 100) {
    const bool quits = t == Event::KeyPressed && a == sf::Keyboard::Escape && !matchRunning;
    Event e{};
    e.type = quits && (axisHeld || !joinInProgress) ? Event::KeyReleased : t;
    e.joystickMove = {a, static_cast<sf::Joystick::Axis>(b), at};
    pressed = e.type == Event::KeyPressed || e.type == Event::JoystickButtonPressed ? e : pressed;
    return e;
}

// Reports a broken rule with the seed, the number of events sent and the last one's type and
// first two data words (see make), then aborts.
void check(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "fuzz: %s; seed %ld, event %ld: type %d, %u %u\n", rule, seed,
                     eventsSent, last.type, last.size.width, last.size.height);
        std::abort();
    }
}

// The rules, checked whenever the game asks for an event or shows a frame; true in a match,
// whose frames are its ticks. The long play's players out start again at the left, on the floor.
// frame: the check is made at a frame shown.
bool checkRules(bool frame = false) {
    check(playerCount == int(players.size()) + joinInProgress, "count = records, +1 in a join");
    check(joinInProgress || !(bindingStep | awaitingConfirm | axisHeld), "no half-done binding");
    check(entityCount == int(entities.size()) && entityCount <= 64,
          "every entity counted is in the list, at most 64");
    const bool inMatch = matchRunning || std::any_of(players.begin(), players.end(),
                                                     [](const Player& p) { return !p.alive; });
    check(!inMatch || score >= lastScore, "the score never falls within a match");
    lastScore = inMatch ? score : 0.0;
    out.resize(players.size());
    satOut.resize(players.size());
    std::set<unsigned> ids;
    for (std::size_t p = 0; p < players.size(); ++p) {
        Player& player = players[p];
        check(player.index == int(p), "each record's index is its place");
        check(player.device != "joystick" || ids.insert(player.slot[0]).second, "joystick twice");
        check(!player.alive || player.x <= screenWidth / 2, "no living player right of the middle");
        check(!inMatch || !out[p] || !player.alive, "a player out stays out until the match ends");
        check(player.device == "joystick" || !player.absent, "a keyboard player is never absent");
        check(!player.absent || !(player.ready | player.jumpPressed | player.downPressed),
              "an absent player is not ready and holds no jump or down");
        satOut[p] = frame && !matchRunning ? player.absent : satOut[p];
        check(!matchRunning || !satOut[p] || !player.alive, "the absent sit a match out");
        if (!player.alive && crowd > 0 && ticks < wanted) {
            player.alive = matchRunning = true;
            std::tie(player.x, player.y) = std::pair(30.0f, floorY);
        }
        out[p] = !player.alive;
    }
    return inMatch;
}

// A press or release (drawn unless given) of one of a player's controls (0 jump, 1 down,
// 2 left, 3 right; drawn unless given): a key, a button, or for left and right of a player who
// steers by an axis, a move of it.
Event controlOf(const Player& player, bool press = draw() % 5 < 3, unsigned control = draw() % 4) {
    if (player.device == "keyboard") {
        return make(press ? Event::KeyPressed : Event::KeyReleased, player.slot[control]);
    }
    if (player.slot[3] == noButton && control >= 2) {
        return make(Event::JoystickMoved, player.slot[0], player.slot[5]);
    }
    return make(press ? Event::JoystickButtonPressed : Event::JoystickButtonReleased,
                player.slot[0], player.slot[1 + control]);
}

// The script's supply: checks the state the last event left, then appends to the script. Once
// done, Escape ends a match, and the script running dry the lobby.
bool supplyNext() {
    checkRules();
    const bool play = crowd > 0, lobby = !matchRunning && !joinInProgress;
    const bool done = play ? ticks >= wanted : eventsSent >= wanted, stop = done && !matchRunning;
    // Now and then, and in the long play once its crowd has joined, everyone's jump in one pass,
    // which starts a match unless two players share a key.
    const std::size_t n = players.size(), pick = draw() % 100;
    const bool jumps = !stop && lobby && n > 0 && (play ? long(n) == crowd : draw() % 500 == 0);
    for (std::size_t p = 0; jumps && p < n; ++p) {
        scriptEvent(controlOf(players[p], true, 0));
    }
    // A lobby pass takes many events, a join's and a match's few, so that prompts and ticks
    // come often. Once done outside a match, the pass ends and the script runs dry.
    if (stop || jumps || draw() % 1000 < (lobby ? 7u : play && matchRunning ? 800u : 300u)) {
        scriptEvent();
        return !stop;
    }
    // The event, for where it will be handled. The crowd joins with one key each, Escape left
    // out, and has only controls in its match. Rarely a close request. In the lobby and a match
    // mostly controls; else an event of any type up to joysticks, with keys and joysticks from
    // -1 to 38 (past the library's 8 joysticks) and any axis. In a join mostly the last press
    // again, which confirms a control, a button of the joining joystick (past the library's 32
    // too), or a move of an axis, the one pushed once pushed, which lets it go or pushes again.
    // Anywhere, now and then, a player's joystick goes or comes back (for a keyboard player, a
    // joystick whose number is its jump key's code).
    last = done                    ? make(Event::KeyPressed, sf::Keyboard::Escape)
           : play && !matchRunning ? make(Event::KeyPressed, n + (n >= sf::Keyboard::Escape))
           : draw() % 8000 == 0    ? make(Event::Closed, 0)
           : !play && n > 0 && pick < 4
               ? make(draw() % 2 ? Event::JoystickDisconnected : Event::JoystickConnected,
                      players[draw() % n].slot[0])
           : !joinInProgress && n > 0 && (play || pick < 90) ? controlOf(players[draw() % n])
           : !joinInProgress || pick >= 85
               ? make(static_cast<Event::EventType>(1 + draw() % Event::JoystickDisconnected),
                      draw() % 40 - 1, draw() % 8)
           : pick < 60 ? pressed
           : pick < 70 ? make(Event::JoystickButtonPressed, joiningJoystickId, draw() % 40)
                       : make(Event::JoystickMoved, joiningJoystickId,
                              axisHeld || awaitingConfirm ? pendingAxis : draw() % 8);
    eventsSent += 1;
    scriptEvent(last);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool play = argc > 3 && std::string(argv[1]) == "--play";
    wanted = argc > 1 + play ? std::atol(argv[1 + play]) : wanted;
    crowd = play ? std::atol(argv[3]) : 0;
    draw.seed(seed = argc > 2 + 2 * play ? std::atol(argv[2 + 2 * play]) : 1);
    startScript(seed);
    // The game's traces (axis steering, flyers) would bury the report, which goes to stderr.
    std::cerr.rdbuf(nullptr);
    sf::err().rdbuf(nullptr);
    std::tie(screenWidth, screenHeight) = std::pair(480, 360);
    setupLobby();
    // After the lobby's set-up, which seeds rand from the clock.
    std::srand(seed);
    scriptSource(supplyNext);
    beforePresent = [] { ticks += checkRules(true); };
    // Sessions, each a fresh game, until the script runs dry.
    for (; !scriptRanDry(); players.clear(), playerCount = 0) {
        window.create(sf::VideoMode(480, 360), "Twinrun fuzz", sf::Style::None);
        runLobby();
    }
    std::printf("fuzz: seed %ld: %ld events, %ld ticks\n", seed, eventsSent, ticks);
}
