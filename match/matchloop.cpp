// The match loop: events between ticks, and each tick's order of motion, drawing, the
// score and the end of the match.
#include "match/match.hpp"

#include "core/globals.hpp"
#include "core/platform.hpp"
#include "roster/roster.hpp"

#include <algorithm>

namespace {

// Number of ground tiles drawn side by side from groundScrollX.
constexpr int groundTiles = 100;

void scrollGround() {
    groundScrollX += scrollSpeed;
    tickCounter += 1;
    groundDrawY = static_cast<float>(screenHeight);
    groundTileX = groundScrollX;
}

void drawGround() {
    float x = groundTileX;
    for (int tile = 0; tile < groundTiles; ++tile) {
        groundSprite.setPosition(x, groundDrawY);
        window.draw(groundSprite, sf::RenderStates::Default);
        x += groundTileWidth;
    }
}

// Once the first tile lies more than two tile widths off the left edge, the ground starts
// again from 0 at the next tick, which the eye can't tell from an endless row. Only the
// first tile can be that far left: the others lie further right.
void wrapGround() {
    if (groundTileX + groundTileWidth < -groundTileWidth) {
        groundScrollX = 0.0f;
    }
}

// The living dinosaurs in their colours, on the run frame of the moment.
void drawPlayers() {
    sf::Sprite& sprite = animPhase ? dinoLeftSprite : dinoRightSprite;
    const bool night = inkColor != sf::Color::Black;
    for (int p = 0; p < playerCount; ++p) {
        if (!players[p].alive) {
            continue;
        }
        sprite.setPosition(players[p].x, players[p].y);
        sprite.setColor(playerColor(p, night));
        window.draw(sprite, sf::RenderStates::Default);
    }
}

// Each run frame stays for 11 ticks.
void advanceAnimation() {
    if (animCounter >= 10.0f) {
        animPhase = !animPhase;
        animCounter = 0.0f;
    } else {
        animCounter += 1.0f;
    }
}

bool anyoneAlive() {
    for (int p = 0; p < playerCount; ++p) {
        if (players[p].alive) {
            return true;
        }
    }
    return false;
}

// The number of the only living player, or -1 when none or several live.
int soleSurvivor() {
    int survivor = -1;
    for (int p = 0; p < playerCount; ++p) {
        if (players[p].alive) {
            if (survivor >= 0) {
                return -1;
            }
            survivor = p;
        }
    }
    return survivor;
}

// The match's music quickens with the world: from its own pace at the start (a ground speed of
// 1) to fastestPace at a speed of 4, 3000 ticks or 1000 points later.
float musicPace() {
    return 1.0f + (fastestPace - 1.0f) * std::min(1.0f, (-1.0f - scrollSpeed) / 3.0f);
}

// Every third tick the score grows and cacti and flyers come a little sooner.
void countScore() {
    if (tickCounter != 3) {
        return;
    }
    tickCounter = 0;
    score += 1.0;
    if (static_cast<std::int32_t>(score) % 100 == 0) {
        playSound(Sound::hundred);
    }
    if (spawnMinDelay > 0.5f) {
        spawnMinDelay += -0.005f;
    }
    if (spawnSpread > 1.0f) {
        spawnSpread += -0.005f;
    }
}

} // namespace

void handleMatchEvents() {
    while (pollInput()) {
        handleMatchKeyEvent();
        handleMatchJoystickEvent();
    }
}

void runTick(Clock& tickClock) {
    // Whoever alone lives before this tick's blows wins if the match ends in it.
    const int lastStanding = soleSurvivor();
    scrollSpeed += -0.001f;
    playMusic(Music::match, musicPace());
    window.clear(backgroundColor);
    movePlayers();
    scrollGround();
    drawGround();
    wrapGround();
    spawnCactus();
    spawnPickup();
    spawnFlyer();
    scrollEntities();
    drawPlayers();
    advanceAnimation();
    // Escape handled in this pass is overruled while someone is alive.
    matchRunning = anyoneAlive();
    if (!matchRunning) {
        playSound(Sound::matchOver);
        matchWinner = lastStanding;
        if (lastStanding >= 0) {
            players[lastStanding].wins += 1;
        }
    }
    tellControllers();
    drawScore();
    presentFrame();
    tickClock.restart();
    countScore();
}

void runMatch() {
    setupMatch();
    matchWinner = -1;
    Clock tickClock;
    // The window's close request is handled by nobody here, so it changes nothing.
    while (matchRunning) {
        handleMatchEvents();
        const sf::Time untilTick = sf::seconds(frameInterval) - tickClock.getElapsedTime();
        if (untilTick <= sf::Time::Zero) {
            runTick(tickClock);
        } else {
            // Sleeps out the wait instead of polling through it. What arrived meanwhile is
            // handled in this pass, which runs no tick, so Escape ends the match as it does when
            // pressed between ticks.
            sleepFor(untilTick);
            handleMatchEvents();
        }
        limitFrames(60);
    }
    for (int p = 0; p < playerCount; ++p) {
        players[p].alive = true;
    }
    entities.clear();
    entityCount = 0;
}
