// The world's objects: the two random sources, the timed spawners with their clouds, and
// the scroll pass that moves, draws and removes the entities.
#include "match/match.hpp"

#include "core/globals.hpp"
#include "core/platform.hpp"

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

// One draw of rand scaled to 0..32767, the range the spawn formulas are made for. glibc's
// rand reaches 2^31 - 1, which would put delays at hours and heights far off the screen.
int drawRand() {
    return std::rand() / (RAND_MAX / 32768 + 1);
}

// Appends a complete entity at the spawn line and counts it.
void appendEntity(const char* name, float y, float width, float height) {
    entities.push_back(Entity{name, spawnX, y, width, height, false});
    entityCount += 1;
}

// Whether a spawner's clock has run for its delay; if so it restarts for the next one.
bool fires(Clock& clock, float delay) {
    if (clock.getElapsedTime().asSeconds() < delay) {
        return false;
    }
    clock.restart();
    return true;
}

// The sprite that shows an entity placed where it belongs, or none for a taken pickup.
sf::Sprite* placedSprite(const Entity& e) {
    sf::Sprite* sprite = nullptr;
    float y = e.y;
    if (e.name == "cloud") {
        sprite = &cloudSprite;
    } else if (e.name == "bird") {
        sprite = &birdSprite;
    } else if (e.name == "saw") {
        sprite = &sawSprite;
    } else if (e.name == "cactus0") {
        sprite = &cactus0Sprite;
        y = floorY;
    } else if (e.name == "cactus1") {
        sprite = &cactus1Sprite;
        y = floorY;
    } else if (e.name == "coin" && !e.taken) {
        sprite = &coinSprite;
    } else if (e.name == "hammer" && !e.taken) {
        sprite = &hammerSprite;
    }
    if (sprite != nullptr) {
        sprite->setPosition(e.x, y);
    }
    return sprite;
}

} // namespace

float randomBetween(float from, float to) {
    const auto r = static_cast<float>(drawRand());
    return r / 32767.0f * (to - from) + from;
}

float randomBit() {
    return static_cast<float>(bitGenerator()() >> 31);
}

void spawnCloud() {
    appendEntity("cloud", randomBetween(cloudYFrom, cloudYTo), 112.0f, 222.0f);
}

void spawnCactus() {
    if (!fires(cactusClock, cactusDelay)) {
        return;
    }
    cactusDelay = randomBetween(spawnMinDelay, spawnSpread);
    if (nextCactusKind == 0) {
        appendEntity("cactus0", 0.0f, 84.0f, 81.0f);
    } else {
        appendEntity("cactus1", 0.0f, 108.0f, 123.0f);
    }
    // Each cactus draws the kind of the next one.
    nextCactusKind = static_cast<std::int32_t>(randomBit());
    spawnCloud();
}

void spawnPickup() {
    if (!fires(pickupClock, pickupDelay)) {
        return;
    }
    pickupDelay = randomBetween(5.0f, 10.0f);
    const bool hammer = static_cast<int>(randomBit()) == 1;
    appendEntity(hammer ? "hammer" : "coin", randomBetween(airYFrom, floorY), 64.0f, 64.0f);
    spawnCloud();
}

void spawnFlyer() {
    if (!fires(flyerClock, flyerDelay)) {
        return;
    }
    flyerDelay = randomBetween(spawnMinDelay, spawnSpread);
    const bool saw = static_cast<int>(randomBit()) == 1;
    const float y = randomBetween(airYFrom, airYTo);
    if (saw) {
        appendEntity("saw", y, 98.4f, 99.0f);
    } else {
        appendEntity("bird", y, 74.0f, 46.0f);
    }
    spawnCloud();
    // Meant: the game traces every bird or saw with this line on standard error.
    std::cerr << "test" << std::endl;
}

void moveEntities() {
    for (int i = 0; i < entityCount; ++i) {
        entities[i].x += scrollSpeed;
    }
}

// Later entities are drawn over earlier ones.
void drawEntities() {
    for (int i = 0; i < entityCount; ++i) {
        if (sf::Sprite* sprite = placedSprite(entities[i])) {
            window.draw(*sprite, sf::RenderStates::Default);
        }
    }
}

// Removes the entities past the left edge and the taken ones; the others keep their order
// and none is skipped.
void dropGoneEntities() {
    const auto end = entities.begin() + entityCount;
    const auto kept = std::remove_if(entities.begin(), end,
                                     [](const Entity& e) { return e.x < -100.0f || e.taken; });
    entityCount -= static_cast<std::int32_t>(end - kept);
    entities.erase(kept, end);
}

void scrollEntities() {
    if (entityCount < 1) {
        return;
    }
    moveEntities();
    drawEntities();
    dropGoneEntities();
}
