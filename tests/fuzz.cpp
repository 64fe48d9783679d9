// Fuzz run: seeded random streams of window events fed through the real lobby loop, its
// joins and its matches, with the game's state checked between every two events.
//
// Usage: twinrunfuzz [events] [seed]; exits 0 when every check held, and otherwise prints
// the broken rule, the seed, the event's number and the events before it, and aborts.
#include "support.hpp"

#include "match/match.hpp"

#include <SFML/System/Err.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <random>
#include <string>

namespace {

// Highest joystick number sent: two past the library's eight, which it never reports but
// which must not be trusted as an index either.
constexpr unsigned int joystickIds = 10;
// Button numbers sent, past the library's 32 for the same reason.
constexpr unsigned int buttons = sf::Joystick::ButtonCount + 8;

// Where the next event will be handled.
enum class Place { lobby, join, axisWait, match };

// The stream's draws, and how far it has come.
std::mt19937 draw;
unsigned long seed = 1;
long eventsWanted = 0;
long eventsSent = 0;
// The last events sent, described, for the report of a broken rule.
std::deque<std::string> recent;
// Events queued to be sent in a row, in one pass: every player's jump control, to start a
// match at the next pass.
std::deque<sf::Event> queued;
bool endPassAfterQueue = false;
// The last press sent, which a join is often given again to confirm a control.
sf::Event lastPress{};
bool pressed = false;
// How often a lobby event is anything at all rather than a joined player's control; the
// others mostly start joins. Drawn for each session: most grow a few players and play
// matches, some keep joining until every key is taken.
double joinAppetite = 0.0;
// Where the previous event went, and how many records there were then.
Place lastPlace{};
std::size_t lastRecords = 0;

// What the run went through, printed at its end.
struct Tally {
    long passes = 0;
    long sessions = 0;
    long joinsStarted = 0;
    long playersJoined = 0;
    long matches = 0;
    long ticks = 0;
    std::size_t mostPlayers = 0;
    long escapesHeld = 0;
} tally;

Place place() {
    if (matchRunning) {
        return Place::match;
    }
    if (axisHeld) {
        return Place::axisWait;
    }
    return joinInProgress ? Place::join : Place::lobby;
}

// Counts the joins, players and matches that the last event began.
void countChanges() {
    const Place where = place();
    if (where == Place::join && lastPlace == Place::lobby) {
        tally.joinsStarted += 1;
    }
    if (where == Place::match && lastPlace != Place::match) {
        tally.matches += 1;
    }
    if (players.size() > lastRecords) {
        tally.playersJoined += static_cast<long>(players.size() - lastRecords);
    }
    tally.mostPlayers = std::max(tally.mostPlayers, players.size());
    lastPlace = where;
    lastRecords = players.size();
}

int below(int n) {
    return static_cast<int>(draw() % static_cast<unsigned int>(n));
}

bool chance(double p) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(draw) < p;
}

std::string describe(const sf::Event& e) {
    char text[96];
    switch (e.type) {
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased:
        std::snprintf(text, sizeof text, "key %s %d",
                      e.type == sf::Event::KeyPressed ? "press" : "release", e.key.code);
        break;
    case sf::Event::JoystickButtonPressed:
    case sf::Event::JoystickButtonReleased:
        std::snprintf(text, sizeof text, "joystick %u button %s %u", e.joystickButton.joystickId,
                      e.type == sf::Event::JoystickButtonPressed ? "press" : "release",
                      e.joystickButton.button);
        break;
    case sf::Event::JoystickMoved:
        std::snprintf(text, sizeof text, "joystick %u axis %d to %.1f", e.joystickMove.joystickId,
                      e.joystickMove.axis, e.joystickMove.position);
        break;
    default:
        std::snprintf(text, sizeof text, "event of type %d", e.type);
    }
    return text;
}

[[noreturn]] void broken(const char* rule) {
    std::fprintf(stderr, "fuzz: %s, after event %ld of seed %lu; the events before it:\n", rule,
                 eventsSent, seed);
    for (const std::string& line : recent) {
        std::fprintf(stderr, "  %s\n", line.c_str());
    }
    std::abort();
}

void check(bool holds, const char* rule) {
    if (!holds) {
        broken(rule);
    }
}

// The rules that hold whenever the game asks for an event.
void checkState() {
    const auto records = static_cast<std::int32_t>(players.size());
    if (joinInProgress) {
        check(playerCount == records + 1, "a join counts one player more than the records");
        check(bindingStep >= 0 && bindingStep <= 4, "a join teaches four controls");
    } else {
        check(playerCount == records, "the count equals the records outside a join");
        check(bindingStep == 0 && !awaitingConfirm && !axisHeld,
              "no binding is under way between joins");
    }
    for (std::int32_t p = 0; p < records; ++p) {
        Player& player = players[static_cast<std::size_t>(p)];
        check(player.index == p, "each record's index is its place");
        for (std::int32_t q = 0; q < p && player.device == "joystick"; ++q) {
            check(players[static_cast<std::size_t>(q)].device != "joystick" ||
                      players[static_cast<std::size_t>(q)].joystickId() != player.joystickId(),
                  "no joystick joins twice");
        }
    }
    check(entityCount == static_cast<std::int32_t>(entities.size()),
          "the entity count equals the list");
}

sf::Event keyOf(sf::Event::EventType type, int code) {
    return keyEvent(type, static_cast<sf::Keyboard::Key>(code));
}

sf::Event moveEvent(unsigned int id, unsigned int axis, float position) {
    return axisMoved(id, static_cast<sf::Joystick::Axis>(axis), position);
}

float anyPosition() {
    // The range's ends, the centre and the threshold come up often: comparisons turn there.
    static const float marks[] = {-100.0f, -50.0f, 0.0f, 50.0f, 100.0f};
    if (chance(0.2)) {
        return marks[below(5)];
    }
    return std::uniform_real_distribution<float>(-100.0f, 100.0f)(draw);
}

// Any event the window could deliver, with any key, joystick, button or axis.
sf::Event anyEvent() {
    const int pick = below(100);
    const auto id = static_cast<unsigned int>(below(joystickIds));
    if (pick < 30) {
        return keyOf(sf::Event::KeyPressed, below(sf::Keyboard::KeyCount + 1) - 1);
    }
    if (pick < 48) {
        return keyOf(sf::Event::KeyReleased, below(sf::Keyboard::KeyCount + 1) - 1);
    }
    if (pick < 60) {
        return buttonEvent(sf::Event::JoystickButtonPressed, id,
                           static_cast<unsigned int>(below(buttons)));
    }
    if (pick < 68) {
        return buttonEvent(sf::Event::JoystickButtonReleased, id,
                           static_cast<unsigned int>(below(buttons)));
    }
    if (pick < 85) {
        return moveEvent(id, static_cast<unsigned int>(below(sf::Joystick::AxisCount)),
                         anyPosition());
    }
    sf::Event e{};
    if (pick < 89) {
        e.type = sf::Event::JoystickConnected;
        e.joystickConnect.joystickId = id;
    } else if (pick < 93) {
        e.type = sf::Event::JoystickDisconnected;
        e.joystickConnect.joystickId = id;
    } else if (pick < 96) {
        e.type = chance(0.5) ? sf::Event::GainedFocus : sf::Event::LostFocus;
    } else if (pick < 98) {
        e.type = sf::Event::Resized;
        e.size.width = static_cast<unsigned int>(below(4000));
        e.size.height = static_cast<unsigned int>(below(4000));
    } else {
        e.type = sf::Event::TextEntered;
        e.text.unicode = draw();
    }
    return e;
}

// A press or release of one of a joined player's controls, or a move of its axis.
sf::Event controlEvent(bool press) {
    Player& player = players[static_cast<std::size_t>(below(static_cast<int>(players.size())))];
    const auto type = press ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    if (player.device == "keyboard") {
        return keyOf(type, static_cast<int>(player.slot[below(4)]));
    }
    if (player.leftButton() == noButton && chance(0.3)) {
        return moveEvent(player.joystickId(), player.axis(), anyPosition());
    }
    return buttonEvent(press ? sf::Event::JoystickButtonPressed : sf::Event::JoystickButtonReleased,
                       player.joystickId(), player.slot[1 + below(4)]);
}

// Every player's jump control, once each, which starts a match unless two players share a
// key.
void queueEveryonesJump() {
    for (Player& player : players) {
        if (player.device == "keyboard") {
            queued.push_back(keyOf(sf::Event::KeyPressed, static_cast<int>(player.jumpKey())));
        } else {
            queued.push_back(buttonEvent(sf::Event::JoystickButtonPressed, player.joystickId(),
                                         player.jumpButton()));
        }
    }
}

// An event of a join: mostly the same press again, which teaches a control, or a push of
// the joining joystick's axis, with now and then anything at all.
sf::Event joinEvent() {
    const int pick = below(100);
    if (pick < 55 && pressed) {
        return lastPress;
    }
    if (pick < 70) {
        return chance(0.5) ? keyOf(sf::Event::KeyPressed, below(sf::Keyboard::KeyCount + 1) - 1)
                           : buttonEvent(sf::Event::JoystickButtonPressed, joiningJoystickId,
                                         static_cast<unsigned int>(below(buttons)));
    }
    if (pick < 85) {
        const unsigned int axis = awaitingConfirm && chance(0.7)
                                      ? pendingAxis
                                      : static_cast<unsigned int>(below(sf::Joystick::AxisCount));
        return moveEvent(joiningJoystickId, axis, chance(0.5) ? 100.0f : -75.0f);
    }
    return anyEvent();
}

// The next event for the place it will be handled in.
sf::Event nextEvent(Place where) {
    if (!queued.empty() && where == Place::lobby) {
        const sf::Event e = queued.front();
        queued.pop_front();
        endPassAfterQueue = queued.empty();
        return e;
    }
    queued.clear();
    if (chance(1.0 / 8000.0)) {
        sf::Event e{};
        e.type = sf::Event::Closed;
        return e;
    }
    const bool anyone = !players.empty();
    switch (where) {
    case Place::lobby:
        if (anyone && chance(1.0 / 500.0)) {
            queueEveryonesJump();
            return nextEvent(where);
        }
        return anyone && !chance(joinAppetite) ? controlEvent(true) : anyEvent();
    case Place::join:
        return joinEvent();
    case Place::axisWait:
        if (chance(0.6)) {
            return moveEvent(joiningJoystickId, pendingAxis, anyPosition() * 0.45f);
        }
        return anyEvent();
    case Place::match:
        return anyone && chance(0.8) ? controlEvent(chance(0.6)) : anyEvent();
    }
    return anyEvent();
}

// Mean number of events in a pass, by place: a join's passes are short, so that its prompt
// frames come often; an axis wait naps at the end of each of its passes.
int meanPass(Place where) {
    switch (where) {
    case Place::lobby:
        return 150;
    case Place::join:
        return 10;
    case Place::axisWait:
        return 4;
    case Place::match:
        return 60;
    }
    return 10;
}

bool endsProgram(const sf::Event& e, Place where) {
    return e.type == sf::Event::KeyPressed && e.key.code == sf::Keyboard::Escape &&
           (where == Place::lobby || where == Place::axisWait);
}

// The script's supply: checks the state the last event left, then appends one entry.
bool supplyNext() {
    checkState();
    countChanges();
    if (eventsSent >= eventsWanted) {
        return false;
    }
    const Place where = place();
    if (endPassAfterQueue || chance(1.0 / meanPass(where))) {
        endPassAfterQueue = false;
        tally.passes += 1;
        scriptPassEnd();
        return true;
    }
    sf::Event e = nextEvent(where);
    if (endsProgram(e, where)) {
        // Escape ends the whole program here, which the end-to-end test covers; the run goes
        // on with its release instead.
        e.type = sf::Event::KeyReleased;
        tally.escapesHeld += 1;
    }
    if (e.type == sf::Event::KeyPressed || e.type == sf::Event::JoystickButtonPressed) {
        lastPress = e;
        pressed = true;
    }
    eventsSent += 1;
    recent.push_back(describe(e));
    if (recent.size() > 20) {
        recent.pop_front();
    }
    scriptEvent(e);
    return true;
}

// A fresh game, as after a restart: nobody joined, nothing under way, the window open.
void startSession(unsigned int width, unsigned int height) {
    players.clear();
    playerCount = 0;
    bindingStep = 0;
    awaitingConfirm = false;
    axisHeld = false;
    joinInProgress = false;
    matchRunning = false;
    lastRecords = 0;
    joinAppetite = chance(0.2) ? 0.6 : 0.01;
    window.create(sf::VideoMode(width, height), "Twinrun fuzz", sf::Style::None);
    tally.sessions += 1;
}

} // namespace

int main(int argc, char** argv) {
    eventsWanted = argc > 1 ? std::atol(argv[1]) : 300000;
    seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    draw.seed(static_cast<std::mt19937::result_type>(seed));
    // The game's traces (axis steering, flyers) would bury the report, which goes to stderr
    // itself; the sanitizers' reports too.
    sf::err().rdbuf(nullptr);
    std::cerr.rdbuf(nullptr);

    screenWidth = 480;
    screenHeight = 360;
    setupLobby();
    std::srand(static_cast<unsigned int>(seed));

    // Frames are not held to 60 a second, so that the run goes as fast as the matches' own
    // tick timing allows.
    beforePresent = [] {
        if (matchRunning) {
            tally.ticks += 1;
        }
    };
    startScript();
    scriptSource(supplyNext);
    while (true) {
        startSession(static_cast<unsigned int>(screenWidth),
                     static_cast<unsigned int>(screenHeight));
        runLobby();
        // A loop that ends leaves no join or match behind.
        checkState();
        check(!matchRunning, "the lobby loop ends outside a match");
        if (eventsSent >= eventsWanted && scriptRanDry()) {
            break;
        }
    }

    std::printf("fuzz: seed %lu: %ld events in %ld passes over %ld sessions; %ld joins started, "
                "%ld players joined, at most %zu at once; %ld matches, %ld ticks; %ld Escapes "
                "held back in the lobby or an axis wait\n",
                seed, eventsSent, tally.passes, tally.sessions, tally.joinsStarted,
                tally.playersJoined, tally.mostPlayers, tally.matches, tally.ticks,
                tally.escapesHeld);
    return 0;
}
