// The dinosaurs' physics for one tick: contacts with the world's objects, day and night,
// the stun, running, jumping, ducking, falling and the edges of the play field.
#include "match/match.hpp"

#include "core/globals.hpp"
#include "core/sound.hpp"
#include "roster/roster.hpp"

#include <algorithm>
#include <vector>

namespace {

// What an entity does to a player who touches it, read from its name once per tick rather
// than once per player.
enum class Touch : std::uint8_t { cloud, cactus, coin, hammer, harm, nothing };

// The touch of each entity, by position in the list; kept between ticks for its storage.
std::vector<Touch> touches;

Touch touchOf(const std::string& name) {
    if (name == "cloud") {
        return Touch::cloud;
    }
    if (name == "cactus0" || name == "cactus1") {
        return Touch::cactus;
    }
    if (name == "coin") {
        return Touch::coin;
    }
    if (name == "hammer") {
        return Touch::hammer;
    }
    if (name == "bird" || name == "saw") {
        return Touch::harm;
    }
    return Touch::nothing;
}

// Puts the player out; only the first blow of a tick is heard.
void putOut(Player& p) {
    if (p.alive) {
        playSound(Sound::out);
    }
    p.alive = false;
}

bool overlapsHorizontally(const Player& p, const Entity& e) {
    return p.x + p.width > e.x && e.x + e.width > p.x;
}

// A cloud holds a player whose y lies from 9 pixels (exclusive) to 4 pixels (inclusive)
// above the cloud's y: a falling player, 5 pixels a tick, always passes through it.
void touchCloud(Player& p, const Entity& cloud) {
    if (overlapsHorizontally(p, cloud)) {
        const double d = p.y - (cloud.y - 4.0);
        if (d <= 0.0 && d > -5.0) {
            p.onPlatform = true;
            p.platformFound = true;
        }
    } else if (!p.platformFound) {
        p.onPlatform = false;
    }
}

// Whether a cactus, pickup or flyer can touch the player at all: near enough to the
// players' half of the screen, low enough (the depth test), and overlapping horizontally.
bool withinReach(const Player& p, const Entity& e) {
    return e.x < static_cast<float>(screenWidth / 2 + 100) &&
           p.y > static_cast<float>(screenHeight) - e.height - e.y && overlapsHorizontally(p, e);
}

void touchObject(Player& p, Entity& e, Touch touch) {
    if (touch == Touch::cactus) {
        // A cactus stands on the floor whatever its y: no vertical test.
        putOut(p);
        return;
    }
    if (!(e.y + e.height > p.y && p.y + p.height > e.y)) {
        return;
    }
    if (touch == Touch::coin && !e.taken) {
        p.speed += 0.1f;
        e.taken = true;
        playSound(Sound::coin);
    } else if (touch == Touch::hammer && !e.taken) {
        p.hitTimer = 0;
        e.taken = true;
        playSound(Sound::stun);
    } else if (touch == Touch::harm) {
        putOut(p);
    }
}

// Night: white ink on black; day: black ink on white.
void setNight(bool night) {
    inkColor = night ? sf::Color::White : sf::Color::Black;
    backgroundColor = night ? sf::Color::Black : sf::Color::White;
}

// Night from each multiple of 1000 (but 0) for 500 points, day from the next multiple
// of 500; other scores keep the colours as they are.
void switchDayAndNight() {
    const auto s = static_cast<std::int32_t>(score);
    if (s % 1000 == 0) {
        setNight(s != 0);
    } else if (s % 500 == 0) {
        setNight(false);
    }
}

void movePlayer(Player& p) {
    // A stunned player drifts with the world and does nothing else, for 100 ticks and one.
    if (p.hitTimer >= 0) {
        if (p.hitTimer >= 100) {
            p.hitTimer = -1;
        } else {
            p.x += scrollSpeed;
            p.hitTimer += 1;
        }
        return;
    }
    p.x = p.x - moveFactor * p.speed;
    if (p.jumpPressed) {
        // A request made in the air is dropped.
        p.jumpPressed = false;
        if (p.y == floorY || p.onPlatform) {
            p.jumping = true;
            p.jumpStartY = p.y;
            playSound(Sound::jump);
        }
    }
    if (p.downPressed) {
        p.jumping = false;
        if (p.y != floorY && !p.onPlatform) {
            p.y = p.y - jumpStep * 5.0f;
        }
    }
    if (p.jumping) {
        p.y += jumpStep;
        if (p.jumpStartY - jumpHeight > p.y) {
            p.jumping = false;
        }
    } else if (floorY > p.y && !p.onPlatform) {
        p.y -= jumpStep;
    }
    if (p.y > floorY) {
        p.y = floorY;
    }
    const auto half = static_cast<float>(screenWidth / 2);
    if (p.x > half) {
        p.x = half;
    }
    if (p.x < -88.0f) {
        putOut(p);
    }
}

} // namespace

void collidePlayers() {
    const std::int32_t count = entityCount;
    touches.resize(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        touches[static_cast<std::size_t>(i)] = touchOf(entities[i].name);
    }
    for (int p = 0; p < playerCount; ++p) {
        Player& player = players[p];
        if (!player.alive) {
            continue;
        }
        // A player who dies here is still tested against the remaining entities.
        for (int i = 0; i < count; ++i) {
            Entity& e = entities[i];
            const Touch touch = touches[static_cast<std::size_t>(i)];
            if (touch == Touch::cloud) {
                touchCloud(player, e);
            } else if (withinReach(player, e)) {
                touchObject(player, e, touch);
            }
        }
        player.platformFound = false;
    }
}

void movePlayers() {
    collidePlayers();
    switchDayAndNight();
    const std::int32_t count = playerCount;
    for (int p = 0; p < count; ++p) {
        if (players[p].alive) {
            movePlayer(players[p]);
        }
    }
}
