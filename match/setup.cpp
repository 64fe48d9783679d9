// Match set-up: the tunables at their start values, the first spawn delays, the match's
// images brought up to date, the floor line measured and the players at the start.
#include "match/match.hpp"

#include "core/assets.hpp"
#include "core/globals.hpp"
#include "roster/roster.hpp"

#include <iostream>

namespace {

// Loads an image into its texture when its file is new or changed, and sets its sprite up
// at the given scale, with the origin at the bottom-left corner of the image. A file that
// can't be loaded is reported and the sprite keeps whatever the texture holds.
void loadMatchSprite(sf::Texture& texture, sf::Sprite& sprite, const std::string& path,
                     float scale) {
    if (!refreshTexture(texture, path)) {
        std::cerr << "Error  : load texture " << path << std::endl;
    }
    // The sprite shows the whole image, also when the file changed size since the last match.
    sprite.setTexture(texture, true);
    if (scale != 1.0f) {
        sprite.setScale(scale, scale);
    }
    sprite.setOrigin(0.0f, sprite.getLocalBounds().height);
}

} // namespace

void setupMatch() {
    score = 0.0;
    animCounter = 0.0f;
    tickCounter = 0;
    jumpHeight = 300.0f;
    nextCactusKind = static_cast<std::int32_t>(randomBit());
    cactusClock.restart();
    pickupClock.restart();
    spawnMinDelay = 5.0f;
    spawnSpread = 8.0f;
    cactusDelay = randomBetween(5.0f, 8.0f);
    // The previous match emptied the list; clearing it again keeps the count honest.
    entities.clear();
    entityCount = 0;
    frameInterval = 0.01f;
    scrollSpeed = -1.0f;
    moveFactor = -1.0f;
    jumpStep = -5.0f;
    groundScrollX = 0.0f;
    groundTileX = 0.0f;
    animPhase = true;
    pickupDelay = randomBetween(5.0f, 10.0f);
    spawnX = static_cast<float>(screenWidth + 100);
    groundDrawY = static_cast<float>(screenHeight);

    loadMatchSprite(cloudTexture, cloudSprite, cloudPath, 3.0f);
    loadMatchSprite(birdTexture, birdSprite, birdPath, 2.0f);
    loadMatchSprite(sawTexture, sawSprite, sawPath, 0.2f);
    loadMatchSprite(hammerTexture, hammerSprite, hammerPath, 2.0f);
    loadMatchSprite(coinTexture, coinSprite, coinPath, 4.0f);
    loadMatchSprite(cactus0Texture, cactus0Sprite, cactus0Path, 3.0f);
    loadMatchSprite(cactus1Texture, cactus1Sprite, cactus1Path, 3.0f);
    loadMatchSprite(dinoRightTexture, dinoRightSprite, dinoRightPath, 1.0f);
    loadMatchSprite(dinoLeftTexture, dinoLeftSprite, dinoLeftPath, 1.0f);
    loadMatchSprite(groundTexture, groundSprite, groundPath, 1.0f);

    // The ground stands on the bottom edge; the dinosaurs stand on its top edge.
    const sf::FloatRect ground = groundSprite.getGlobalBounds();
    groundTop = groundDrawY - ground.height;
    floorY = groundTop;
    groundTileWidth = ground.width;

    for (int p = 0; p < playerCount; ++p) {
        // An absent player sits this match out: out from the start, so neither placed, moved,
        // drawn nor counted alive; the match's end brings it back like everyone.
        if (players[p].absent) {
            players[p].alive = false;
            continue;
        }
        players[p].x = groundTileX + 30.0f;
        players[p].y = floorY + 5.0f;
    }

    cloudYFrom = 500.0f;
    airYFrom = 100.0f;
    cloudYTo = groundTop - 130.0f;
    airYTo = groundTop - 130.0f;

    flyerClock.restart();
    flyerDelay = randomBetween(spawnMinDelay, spawnSpread);
}
