// Benchmarks of the game's own per-frame work on a real 1280×720 window: one match tick,
// one lobby frame, and the simulation of a tick alone, at several numbers of players and
// entities; and the making of the music at start-up. Run from the repository root, where the
// assets are, under an X display.
#include "tests/script.hpp"

#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "match/match.hpp"
#include "roster/roster.hpp"

#include <SFML/System/Err.hpp>
#include <benchmark/benchmark.h>

#include <array>

namespace {

constexpr unsigned int benchWidth = 1280;
constexpr unsigned int benchHeight = 720;

void openWindow() {
    sf::err().rdbuf(nullptr);
    screenWidth = static_cast<int>(benchWidth);
    screenHeight = static_cast<int>(benchHeight);
    setupLobby();
    window.create(sf::VideoMode(benchWidth, benchHeight), "Twinrun benchmark", sf::Style::None);
    // Every poll of the lobby ends its pass: no events, and the window stays open.
    startScript();
    scriptSource([] {
        scriptEvent();
        return true;
    });
}

void addPlayers(int count) {
    players.clear();
    playerCount = 0;
    for (int p = 0; p < count; ++p) {
        playerCount += 1;
        Player player = newPlayer();
        player.device = "keyboard";
        appendPlayer(player);
    }
}

// A world that stays the same from tick to tick: the world stands still (scrollSpeed 0),
// the players stand on the floor across the left half, the spawners never fire, and the
// entities, spread over the whole width, all take part in the collision tests without
// hurting anyone: cacti only right of the players, everything else high in the sky.
void setupSteadyMatch(int playerTotal, int entityTotal) {
    addPlayers(playerTotal);
    setupMatch();
    for (int p = 0; p < playerCount; ++p) {
        players[p].x = 10.0f * static_cast<float>(p % 50);
        players[p].y = floorY;
    }
    cactusDelay = pickupDelay = flyerDelay = 1e9f;
    const std::array<const char*, 7> kinds = {"cloud", "bird",    "saw",   "cactus0",
                                              "coin",  "cactus1", "hammer"};
    for (int i = 0; i < entityTotal; ++i) {
        const std::string name = kinds[static_cast<std::size_t>(i) % kinds.size()];
        const bool cactus = name.compare(0, 6, "cactus") == 0;
        const float x = cactus ? 800.0f + static_cast<float>(i % 4) * 100.0f
                               : static_cast<float>(i * 1280 / entityTotal);
        const float y = name == "cloud" ? 300.0f : 100.0f;
        entities.push_back(Entity{name, x, y, 64.0f, 46.0f, false});
    }
    entityCount = static_cast<std::int32_t>(entities.size());
    scrollSpeed = 0.0f;
}

void playersAndEntities(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"players", "entities"});
    for (int playerTotal : {1, 4, 50}) {
        for (int entityTotal : {0, 20, 200}) {
            bench->Args({playerTotal, entityTotal});
        }
    }
}

// One whole tick as the match loop runs it, the frame presented without a frame limit.
void matchTick(benchmark::State& state) {
    setupSteadyMatch(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Clock tickClock;
    for (auto _ : state) {
        // The tick speeds the world up by 0.001; this keeps it standing.
        scrollSpeed = 0.001f;
        score = 0.0;
        runTick(tickClock);
    }
    state.counters["alive"] = static_cast<double>(matchRunning);
}
BENCHMARK(matchTick)->Apply(playersAndEntities)->Unit(benchmark::kMicrosecond);

// Collisions, motion and the entities' scroll without any drawing.
void simulationStep(benchmark::State& state) {
    setupSteadyMatch(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        movePlayers();
        moveEntities();
        dropGoneEntities();
        benchmark::DoNotOptimize(players.data());
    }
    state.counters["entities"] = entityCount;
}
BENCHMARK(simulationStep)->Apply(playersAndEntities)->Unit(benchmark::kMicrosecond);

// One lobby pass with every player but the first marked ready, presented without a limit.
void lobbyFrame(benchmark::State& state) {
    addPlayers(static_cast<int>(state.range(0)));
    for (int p = 1; p < playerCount; ++p) {
        players[p].ready = true;
    }
    for (auto _ : state) {
        lobbyPass();
    }
}
BENCHMARK(lobbyFrame)->ArgName("players")->Arg(1)->Arg(12)->Arg(50)->Unit(benchmark::kMicrosecond);

// The music's two loops made, as the audio's opening does at start-up.
void musicSynthesis(benchmark::State& state) {
    for (auto _ : state) {
        for (const Music music : {Music::lobby, Music::match}) {
            benchmark::DoNotOptimize(composeMusic(music).data());
        }
    }
}
BENCHMARK(musicSynthesis)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    openWindow();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
