// Definitions of the match's globals, with the values they hold before main runs; the
// match set-up gives the tunables their start values.
#include "match/match.hpp"

std::vector<Entity> entities;
std::int32_t entityCount = 0;

std::string groundPath = "src/ground.png";
sf::Texture groundTexture;
sf::Sprite groundSprite;
std::string dinoLeftPath = "src/dino_left.png";
sf::Texture dinoLeftTexture;
sf::Sprite dinoLeftSprite;
std::string dinoRightPath = "src/dino_right.png";
sf::Texture dinoRightTexture;
sf::Sprite dinoRightSprite;
std::string cactus0Path = "src/cactus0.png";
sf::Texture cactus0Texture;
sf::Sprite cactus0Sprite;
std::string cactus1Path = "src/cactus1.png";
sf::Texture cactus1Texture;
sf::Sprite cactus1Sprite;
std::string coinPath = "src/coin0.png";
sf::Texture coinTexture;
sf::Sprite coinSprite;
std::string hammerPath = "src/hammer.png";
sf::Texture hammerTexture;
sf::Sprite hammerSprite;
std::string cloudPath = "src/cloud.png";
sf::Texture cloudTexture;
sf::Sprite cloudSprite;
std::string birdPath = "src/bird.png";
sf::Texture birdTexture;
sf::Sprite birdSprite;
std::string sawPath = "src/saw.png";
sf::Texture sawTexture;
sf::Sprite sawSprite;

sf::Font scoreFont;
sf::Text scoreText;

Clock cactusClock;
Clock pickupClock;
Clock flyerClock;

double score = 0.0;
std::int32_t tickCounter = 0;
float frameInterval = 0.0f;
float scrollSpeed = 0.0f;
float groundScrollX = 0.0f;
float groundTileX = 0.0f;
float groundTileWidth = 0.0f;
float groundDrawY = 0.0f;
float groundTop = 0.0f;
float floorY = 0.0f;
float animCounter = 0.0f;
bool animPhase = false;
float spawnMinDelay = 0.0f;
float spawnSpread = 0.0f;
float cactusDelay = 0.0f;
float pickupDelay = 0.0f;
float flyerDelay = 0.0f;
std::int32_t nextCactusKind = 0;
float spawnX = 0.0f;
float cloudYFrom = 0.0f;
float cloudYTo = 0.0f;
float airYFrom = 0.0f;
float airYTo = 0.0f;
float jumpStep = 0.0f;
float moveFactor = 0.0f;
float jumpHeight = 0.0f;
