// Long play: the real match tick run for an hour of play, 216,000 ticks at 60 a second, with
// four players who keep playing and are put back when they are out; checks that the entity
// list stays bounded and prints the memory the process holds along the way.
//
// Usage: twinrunlongplay [ticks]; exits 0 when the checks held.
#include "support.hpp"

#include "match/match.hpp"

#include <SFML/System/Err.hpp>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>

namespace {

// More entities than this at once would mean the list is not emptied as the world scrolls.
constexpr std::int32_t entityLimit = 64;
// Growth of resident memory from the first tenth of the run to its end that counts as flat.
constexpr double flatMegabytes = 4.0;

// A spawner run on the play's own time, one tick being 1/60 s, instead of the wall clock:
// the run goes faster than real play, and the world must fill as it would in an hour.
struct PlayClock {
    float* delay;
    double waited = 0.0;
    double due = 0.0;
    long fired = 0;
};

// A delay no clock reaches, which holds a spawner back.
constexpr float never = 1.0e9f;

void beforeTick(PlayClock& clock) {
    clock.waited += 1.0 / 60.0;
    *clock.delay = clock.waited >= clock.due ? 0.0f : never;
}

// A spawner that fired drew the delay of its next object.
void afterTick(PlayClock& clock) {
    if (*clock.delay != 0.0f && *clock.delay != never) {
        clock.due = *clock.delay;
        clock.waited = 0.0;
        clock.fired += 1;
    }
}

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Now and then a player presses or lets go of one of its controls.
void playSomeControl(std::mt19937& draw) {
    if (draw() % 8 != 0) {
        return;
    }
    Player& player = players[draw() % players.size()];
    sf::Event e{};
    e.type = draw() % 2 == 0 ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    e.key.code = static_cast<sf::Keyboard::Key>(player.slot[draw() % 4]);
    scriptEvent(e);
}

// A player who is out starts again at the left end of the ground.
void putBack(Player& player) {
    if (player.alive) {
        return;
    }
    player.alive = true;
    player.x = 30.0f;
    player.y = floorY;
    player.speed = 0.0f;
    player.hitTimer = -1;
    player.jumping = false;
}

} // namespace

int main(int argc, char** argv) {
    const long ticks = argc > 1 ? std::atol(argv[1]) : 216000;
    sf::err().rdbuf(nullptr);
    // The flyers' traces would fill the output.
    std::cerr.rdbuf(nullptr);
    screenWidth = 640;
    screenHeight = 480;
    window.create(sf::VideoMode(640, 480), "Twinrun long play", sf::Style::None);
    setupLobby();
    std::srand(1);
    std::mt19937 draw(1);
    addKeyboardPlayer(sf::Keyboard::W, sf::Keyboard::S, sf::Keyboard::A, sf::Keyboard::D);
    addKeyboardPlayer(sf::Keyboard::I, sf::Keyboard::K, sf::Keyboard::J, sf::Keyboard::L);
    addKeyboardPlayer(sf::Keyboard::Up, sf::Keyboard::Down, sf::Keyboard::Left,
                      sf::Keyboard::Right);
    addKeyboardPlayer(sf::Keyboard::Num8, sf::Keyboard::Num5, sf::Keyboard::Num4,
                      sf::Keyboard::Num6);

    matchRunning = true;
    setupMatch();
    PlayClock clocks[] = {{&cactusDelay, 0.0, cactusDelay, 0},
                          {&pickupDelay, 0.0, pickupDelay, 0},
                          {&flyerDelay, 0.0, flyerDelay, 0}};
    startScript();
    Clock tickClock;
    std::int32_t mostEntities = 0;
    long outs = 0;
    double firstTenth = 0.0;
    std::printf("%9s %8s %9s %12s %9s\n", "tick", "entities", "score", "world speed", "RSS MB");
    for (long tick = 1; tick <= ticks; ++tick) {
        playSomeControl(draw);
        scriptPassEnd();
        handleMatchEvents();
        for (PlayClock& clock : clocks) {
            beforeTick(clock);
        }
        runTick(tickClock);
        for (PlayClock& clock : clocks) {
            afterTick(clock);
        }
        if (entityCount != static_cast<std::int32_t>(entities.size()) ||
            entityCount > entityLimit) {
            std::printf("long play: %d entities counted, %zu listed at tick %ld\n", entityCount,
                        entities.size(), tick);
            return 1;
        }
        mostEntities = std::max(mostEntities, entityCount);
        for (Player& player : players) {
            outs += player.alive ? 0 : 1;
            putBack(player);
        }
        if (tick % (ticks / 10 > 0 ? ticks / 10 : 1) == 0 || tick == 1) {
            const double resident = residentMegabytes();
            if (firstTenth == 0.0 && tick > 1) {
                firstTenth = resident;
            }
            std::printf("%9ld %8d %9.0f %12.3f %9.1f\n", tick, entityCount, score, scrollSpeed,
                        resident);
        }
    }

    const double growth = residentMegabytes() - firstTenth;
    std::printf("long play: %ld ticks; %ld cacti, %ld pickups, %ld flyers (each with a cloud); "
                "at most %d entities at once; players put back %ld times; resident memory grew "
                "%.2f MB after the first tenth\n",
                ticks, clocks[0].fired, clocks[1].fired, clocks[2].fired, mostEntities, outs,
                growth);
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer holds freed memory back for a while, so its figure is not the game's.
    return 0;
#else
    return growth < flatMegabytes ? 0 : 1;
#endif
}
