// The match: the world's objects and their list, the match's images and tunables, and the
// operations of one match: set-up, spawning, scrolling, motion, collisions and the score.
#pragma once

#include "core/platform.hpp"

#include <SFML/Graphics.hpp>

#include <cstdint>
#include <string>
#include <vector>

// One object of the world: a cloud, a cactus, a coin, a hammer, a bird or a saw.
struct Entity {
    // "cloud", "cactus0", "cactus1", "coin", "hammer", "bird" or "saw".
    std::string name;
    // Left edge and vertical position in window pixels; a cactus keeps y at 0.
    float x = 0.0f;
    float y = 0.0f;
    // The box of the collision tests.
    float width = 0.0f;
    float height = 0.0f;
    // A player picked this coin or hammer up; the next scroll pass removes it.
    bool taken = false;
};

// The world's objects in creation order, and their number.
extern std::vector<Entity> entities;
extern std::int32_t entityCount;

// The match's images: path, texture and the sprite that shows it, origin bottom-left.
extern std::string groundPath;
extern sf::Texture groundTexture;
extern sf::Sprite groundSprite;
extern std::string dinoLeftPath;
extern sf::Texture dinoLeftTexture;
extern sf::Sprite dinoLeftSprite;
extern std::string dinoRightPath;
extern sf::Texture dinoRightTexture;
extern sf::Sprite dinoRightSprite;
extern std::string cactus0Path;
extern sf::Texture cactus0Texture;
extern sf::Sprite cactus0Sprite;
extern std::string cactus1Path;
extern sf::Texture cactus1Texture;
extern sf::Sprite cactus1Sprite;
extern std::string coinPath;
extern sf::Texture coinTexture;
extern sf::Sprite coinSprite;
extern std::string hammerPath;
extern sf::Texture hammerTexture;
extern sf::Sprite hammerSprite;
extern std::string cloudPath;
extern sf::Texture cloudTexture;
extern sf::Sprite cloudSprite;
extern std::string birdPath;
extern sf::Texture birdTexture;
extern sf::Sprite birdSprite;
extern std::string sawPath;
extern sf::Texture sawTexture;
extern sf::Sprite sawSprite;

// The score's font, brought up to date at every tick, and its text at the top right.
extern sf::Font scoreFont;
extern sf::Text scoreText;

// One clock per timed spawner; each restarts when its spawner fires.
extern Clock cactusClock;
extern Clock pickupClock;
extern Clock flyerClock;

// Score of the current match; grows by 1 every third tick.
extern double score;
// Ticks since the score last grew, 0 to 3.
extern std::int32_t tickCounter;
// Least time between two ticks, in seconds.
extern float frameInterval;
// Horizontal motion of the world per tick, in pixels; negative, and growing in size.
extern float scrollSpeed;
// x of the first ground tile, kept from tick to tick, and the x from which this tick's
// tiles are drawn.
extern float groundScrollX;
extern float groundTileX;
// Width of one ground tile; y of the tiles' bottom edge and of the ground's top edge.
extern float groundTileWidth;
extern float groundDrawY;
extern float groundTop;
// The line on which dinosaurs stand and cacti are drawn.
extern float floorY;
// Ticks since the run animation last flipped, and which frame shows (true: the first).
extern float animCounter;
extern bool animPhase;
// Least and greatest delay between two cacti, and between two birds or saws, in seconds.
extern float spawnMinDelay;
extern float spawnSpread;
// Seconds each spawner's clock must run before it fires next.
extern float cactusDelay;
extern float pickupDelay;
extern float flyerDelay;
// Kind of the next cactus: 0 "cactus0", 1 "cactus1".
extern std::int32_t nextCactusKind;
// x at which new entities appear, right of the screen.
extern float spawnX;
// Bounds of the random height of a cloud, and of a bird or saw.
extern float cloudYFrom;
extern float cloudYTo;
extern float airYFrom;
extern float airYTo;
// Vertical step per tick of a rising (added) or falling (subtracted) dinosaur.
extern float jumpStep;
// Each tick a player's x changes by -moveFactor times its speed.
extern float moveFactor;
// Height of a jump, in pixels.
extern float jumpHeight;

// Plays one whole match and returns to the lobby when it is over.
void runMatch();
// Handles every pending event of a match pass.
void handleMatchEvents();
// One tick: the world speeds up, moves, is drawn and shown; tickClock restarts after the
// frame is shown.
void runTick(Clock& tickClock);
// Gives every tunable its start value, loads the match's images and places the players.
void setupMatch();

// A float from `from` to `to` (either may be the greater), from one draw of rand.
float randomBetween(float from, float to);
// 0.0 or 1.0 with even chance, from a generator seeded once per process.
float randomBit();

void spawnCloud();
void spawnCactus();
void spawnPickup();
void spawnFlyer();
// Moves every entity by the world's speed, draws it and removes the gone and the taken.
void scrollEntities();
// The three steps of scrollEntities, also run alone by the benchmarks.
void moveEntities();
void drawEntities();
void dropGoneEntities();

// Resolves every alive player's contacts with the entities.
void collidePlayers();
// Collisions, day and night, and the motion of every alive player for one tick.
void movePlayers();

// Draws the score at the top right in the ink of day or night.
void drawScore();
