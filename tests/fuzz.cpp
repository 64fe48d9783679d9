// Fuzz driver: seeded random events through the real lobby loop, its joins and its matches, or
// one long match of a crowd; the game's rules are checked between every two events and at every
// frame shown.
//
// Usage: twinrunfuzz [events] [seed]              random events (300000 from seed 1)
//        twinrunfuzz --play TICKS PLAYERS [seed]  PLAYERS keyboard players (up to 100) join by
//            pressing their keys, get ready and play one match of TICKS ticks, put back when
//            out; then Escape ends it.
// A broken rule prints the rule, the seed, the event's number and the events before it, and
// aborts.
#include "script.hpp"

#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "match/match.hpp"
#include "roster/roster.hpp"

#include <SFML/System/Err.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <random>
#include <string>

namespace {

using sf::Event;

// Joystick and button numbers reach past the library's 8 and 32: it never reports them, but
// they must not be trusted as an index either.
constexpr int joystickIds = sf::Joystick::Count + 2;
constexpr int buttons = sf::Joystick::ButtonCount + 8;
// More entities than this at once would mean the list is not emptied as the world scrolls.
constexpr std::int32_t entityLimit = 64;

enum class Place { lobby, join, axisWait, match };

std::mt19937 draw;
unsigned long seed = 1;
long eventsWanted = 300000, eventsSent = 0;
// The long play's length in ticks and its crowd; 0 ticks for random events.
long playTicks = 0;
int playPlayers = 0;
// The last events sent, for the report of a broken rule.
Event recent[20];
// The last press, which a join is often given again to confirm a control.
Event lastPress{};
// The match as the last frame left it: whether one runs, its score and who is out.
bool inMatch = false;
double lastScore = 0.0;
std::vector<bool> out;
// What the run went through.
long matches = 0, ticks = 0, busyTicks = 0;
std::size_t mostPlayers = 0;

Place place() {
    return matchRunning     ? Place::match
           : axisHeld       ? Place::axisWait
           : joinInProgress ? Place::join
                            : Place::lobby;
}

unsigned int below(int n) {
    return draw() % static_cast<unsigned int>(n);
}
bool chance(double p) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(draw) < p;
}

Event key(int code, bool press = true) {
    Event e{};
    e.type = press ? Event::KeyPressed : Event::KeyReleased;
    e.key.code = static_cast<sf::Keyboard::Key>(code);
    return e;
}

Event button(unsigned int id, unsigned int number, bool press = true) {
    Event e{};
    e.type = press ? Event::JoystickButtonPressed : Event::JoystickButtonReleased;
    e.joystickButton = {id, number};
    return e;
}

Event move(unsigned int id, unsigned int axis, float position) {
    Event e{};
    e.type = Event::JoystickMoved;
    e.joystickMove = {id, static_cast<sf::Joystick::Axis>(axis), position};
    return e;
}

// Stops the run at a broken rule, and prints it with the last events, each as its type (as in
// sf::Event) and the first three words of its data: a key's code, or a joystick's number, its
// button or axis, and the axis position's bits.
void check(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "fuzz: %s, after event %ld of seed %lu; the events before it:\n", rule,
                     eventsSent, seed);
        for (long i = std::max(0L, eventsSent - 20); i < eventsSent; ++i) {
            unsigned int words[3];
            std::memcpy(words, &recent[i % 20].size, sizeof words);
            std::fprintf(stderr, "  type %d: %u %u %u\n", recent[i % 20].type, words[0], words[1],
                         words[2]);
        }
        std::abort();
    }
}

// The bookkeeping that holds whenever the game asks for an event or shows a frame.
void checkState() {
    const auto records = static_cast<std::int32_t>(players.size());
    check(playerCount == records + (joinInProgress ? 1 : 0),
          "the count equals the records, and one more during a join");
    check(joinInProgress || (bindingStep == 0 && !awaitingConfirm && !axisHeld),
          "no binding is half done between joins");
    check(bindingStep >= 0 && bindingStep <= 4, "a join teaches four controls");
    for (std::size_t p = 0; p < players.size(); ++p) {
        check(players[p].index == static_cast<std::int32_t>(p), "each record's index is its place");
        for (std::size_t q = 0; q < p && players[p].device == "joystick"; ++q) {
            check(players[q].device != "joystick" ||
                      players[q].joystickId() != players[p].joystickId(),
                  "no joystick joins twice");
        }
    }
    check(entityCount == static_cast<std::int32_t>(entities.size()),
          "every entity counted is in the list");
}

// At every frame the bookkeeping, and at a match's tick the rules of play. A tick shows a frame
// while the match runs or, at its last, with everyone out; the lobby and the joins show theirs
// with everyone in.
void atFrame() {
    checkState();
    if (!matchRunning && std::all_of(players.begin(), players.end(),
                                     [](const Player& player) { return player.alive; })) {
        inMatch = false;
        return;
    }
    if (!inMatch) {
        inMatch = true;
        lastScore = 0.0;
        out.assign(players.size(), false);
        matches += 1;
    }
    ticks += 1;
    busyTicks += entityCount > 0 ? 1 : 0;
    check(score >= lastScore, "the score never falls within a match");
    check(entityCount <= entityLimit, "the entity list stays short");
    lastScore = score;
    for (std::size_t p = 0; p < players.size(); ++p) {
        Player& player = players[p];
        check(!out[p] || !player.alive, "a player out stays out until the match ends");
        check(!player.alive || player.x <= static_cast<float>(screenWidth / 2),
              "no living player is right of the middle");
        if (!player.alive && ticks < playTicks) {
            // The long play's players start again at the left, on the ground.
            player.alive = true;
            player.x = 30.0f;
            player.y = floorY;
            player.hitTimer = -1;
            matchRunning = true;
        }
        out[p] = !player.alive;
    }
}

// Comparisons turn at the range's ends, the centre and the threshold: they come up often.
float anyPosition() {
    static const float marks[] = {-100.0f, -50.0f, 0.0f, 50.0f, 100.0f};
    return chance(0.2) ? marks[below(5)]
                       : std::uniform_real_distribution<float>(-100.0f, 100.0f)(draw);
}

// Any event the window could deliver, with any key, joystick, button or axis.
Event anyEvent() {
    const unsigned int pick = below(100), id = below(joystickIds);
    if (pick < 70) {
        return pick < 30   ? key(static_cast<int>(below(sf::Keyboard::KeyCount + 1)) - 1, pick < 20)
               : pick < 50 ? button(id, below(buttons), pick < 42)
                           : move(id, below(sf::Joystick::AxisCount), anyPosition());
    }
    static const Event::EventType others[] = {Event::JoystickConnected, Event::JoystickDisconnected,
                                              Event::GainedFocus, Event::LostFocus, Event::Resized};
    Event e{};
    e.type = others[below(5)];
    e.joystickConnect.joystickId = id;
    return e;
}

// A press or release of one of a player's controls (0 jump, 1 down, 2 left, 3 right), or a
// move of its steering axis.
Event controlOf(Player& player, bool press, unsigned int control) {
    if (player.device == "keyboard") {
        return key(static_cast<int>(player.slot[control]), press);
    }
    if (player.leftButton() == noButton && control >= 2 && chance(0.6)) {
        return move(player.joystickId(), player.axis(), anyPosition());
    }
    return button(player.joystickId(), player.slot[1 + control], press);
}

Event controlEvent() {
    return controlOf(players[below(static_cast<int>(players.size()))], chance(0.6), below(4));
}

// A random event for the place it will be handled in.
Event randomEvent(Place where) {
    const unsigned int pick = below(100);
    if (chance(1.0 / 8000.0)) {
        Event close{};
        close.type = Event::Closed;
        return close;
    }
    if (where == Place::join && pick < 85) {
        // Mostly the same press again, which teaches a control, or a push of the joining
        // joystick's axis.
        return pick < 55   ? lastPress
               : pick < 65 ? key(static_cast<int>(below(sf::Keyboard::KeyCount)))
               : pick < 70 ? button(joiningJoystickId, below(buttons))
                           : move(joiningJoystickId, awaitingConfirm ? pendingAxis : below(8),
                                  chance(0.5) ? 100.0f : -75.0f);
    }
    if (where == Place::axisWait && pick < 60) {
        return move(joiningJoystickId, pendingAxis, anyPosition() * 0.45f);
    }
    const bool control = where == Place::match ? pick < 90 : where == Place::lobby && !chance(0.03);
    return control && !players.empty() ? controlEvent() : anyEvent();
}

// The key of a crowd player's control: four keys each while there are enough, else one key
// for all four. Escape is left out.
int crowdKey(std::size_t p, int control) {
    const int i = playPlayers * 4 < sf::Keyboard::KeyCount ? 4 * static_cast<int>(p) + control
                                                           : static_cast<int>(p);
    return i < sf::Keyboard::Escape ? i : i + 1;
}

// Appends an event to the script. Escape in the lobby or while a joystick's axis is let go
// ends the whole program, which the end-to-end test covers; the run goes on with its release.
void send(Event e, Place where) {
    if (e.type == Event::KeyPressed && e.key.code == sf::Keyboard::Escape &&
        (where == Place::lobby || where == Place::axisWait)) {
        e.type = Event::KeyReleased;
    }
    lastPress =
        e.type == Event::KeyPressed || e.type == Event::JoystickButtonPressed ? e : lastPress;
    recent[eventsSent % 20] = e;
    eventsSent += 1;
    scriptEvent(e);
}

// The script's supply: checks the state the last event left, then appends to the script. The
// long play joins its crowd, then plays. Once done, Escape ends a match, and the script running
// dry the lobby.
bool supplyNext() {
    checkState();
    mostPlayers = std::max(mostPlayers, players.size());
    const Place where = place();
    const bool play = playTicks > 0;
    const bool done = play ? ticks >= playTicks : eventsSent >= eventsWanted;
    if (done && where != Place::match) {
        return false;
    }
    if (where == Place::lobby && !players.empty() &&
        (play ? static_cast<int>(players.size()) == playPlayers : chance(1.0 / 500.0))) {
        // Everyone's jump in one pass, which starts a match unless two players share a key.
        for (Player& player : players) {
            send(controlOf(player, true, 0), where);
        }
        scriptPassEnd();
        return true;
    }
    // A join's passes are short, so that its prompt frames come often, and a match's, so that
    // it ticks often; the long play's match has few events a tick.
    const double passEnds = !play && where == Place::lobby  ? 1.0 / 150.0
                            : play && where == Place::match ? 0.8
                                                            : 0.3;
    if (chance(passEnds)) {
        scriptPassEnd();
    } else if (done) {
        send(key(sf::Keyboard::Escape), where);
    } else if (!play) {
        send(randomEvent(where), where);
    } else {
        // The presses of the next join (taken as nothing once it is complete), then controls.
        send(where == Place::match ? controlEvent() : key(crowdKey(players.size(), bindingStep)),
             where);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool play = argc > 3 && std::string(argv[1]) == "--play";
    playTicks = play ? std::atol(argv[2]) : 0;
    playPlayers = play ? std::atoi(argv[3]) : 0;
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
        inMatch = false;
        window.create(sf::VideoMode(480, 360), "Twinrun fuzz", sf::Style::None);
        runLobby();
    }
    std::printf("fuzz: seed %lu: %ld events; at most %zu players at once; %ld "
                "matches, %ld ticks, %ld with entities\n",
                seed, eventsSent, mostPlayers, matches, ticks, busyTicks);
    return 0;
}
