// Draws Twinrun's pixel-art sprites with sf::Image and writes them as PNG files.
//
// Usage: makeassets <output-folder> [idle-folder]
// Every sprite goes into <output-folder>; the lobby figure idle.png goes into
// [idle-folder] (default: the output folder) so the build script can turn it
// into a GIF without leaving a PNG next to the game's assets.
// The output is deterministic: the only "randomness" is a fixed hash.

#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Art = std::vector<std::string>;
using Palette = std::map<char, sf::Color>;
using Shader = std::function<sf::Color(float, float)>;

const sf::Color transparent(0, 0, 0, 0);
constexpr float pi = 3.14159265358979f;

// ---------------------------------------------------------------- helpers

// Paints ASCII art into a new image: each character becomes a cell x cell
// block of its palette colour, '.' stays transparent. topPad adds empty rows
// above the art.
sf::Image fromArt(const Art& art, const Palette& palette, unsigned cell, unsigned topPad = 0) {
    const unsigned width = static_cast<unsigned>(art.at(0).size());
    sf::Image image;
    image.create(width * cell, static_cast<unsigned>(art.size()) * cell + topPad, transparent);
    for (unsigned row = 0; row < art.size(); ++row) {
        if (art[row].size() != width)
            throw std::runtime_error("art row " + std::to_string(row) + " has the wrong width");
        for (unsigned col = 0; col < width; ++col) {
            const char key = art[row][col];
            if (key == '.')
                continue;
            const auto found = palette.find(key);
            if (found == palette.end())
                throw std::runtime_error(std::string("no colour for '") + key + "'");
            for (unsigned y = 0; y < cell; ++y)
                for (unsigned x = 0; x < cell; ++x)
                    image.setPixel(col * cell + x, topPad + row * cell + y, found->second);
        }
    }
    return image;
}

bool isSolid(const sf::Image& image, int x, int y) {
    const sf::Vector2u size = image.getSize();
    if (x < 0 || y < 0 || x >= static_cast<int>(size.x) || y >= static_cast<int>(size.y))
        return false;
    return image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).a > 0;
}

// Recolours the outermost `thickness` pixels of every shape, inside its own
// silhouette, so the image keeps its size and its outer edge.
void outlineInside(sf::Image& image, sf::Color colour, unsigned thickness) {
    const sf::Vector2u size = image.getSize();
    std::vector<int> depth(size.x * size.y, 0);
    for (unsigned pass = 1; pass <= thickness; ++pass) {
        for (unsigned y = 0; y < size.y; ++y) {
            for (unsigned x = 0; x < size.x; ++x) {
                if (!isSolid(image, static_cast<int>(x), static_cast<int>(y)) ||
                    depth[y * size.x + x] != 0)
                    continue;
                const int dx[] = {1, -1, 0, 0};
                const int dy[] = {0, 0, 1, -1};
                for (int k = 0; k < 4; ++k) {
                    const int nx = static_cast<int>(x) + dx[k];
                    const int ny = static_cast<int>(y) + dy[k];
                    const bool edge =
                        pass == 1 ? !isSolid(image, nx, ny)
                                  : depth[static_cast<unsigned>(ny) * size.x +
                                          static_cast<unsigned>(nx)] == static_cast<int>(pass) - 1;
                    if (edge) {
                        depth[y * size.x + x] = static_cast<int>(pass);
                        break;
                    }
                }
            }
        }
    }
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x)
            if (depth[y * size.x + x] != 0)
                image.setPixel(x, y, colour);
}

// Renders a colour function at 4x4 samples per pixel and averages them
// (alpha-weighted), which gives clean edges on the large procedural sprites.
sf::Image supersample(unsigned width, unsigned height, const Shader& shade) {
    constexpr int grid = 4;
    sf::Image image;
    image.create(width, height, transparent);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < grid; ++sy) {
                for (int sx = 0; sx < grid; ++sx) {
                    const sf::Color c =
                        shade(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / grid,
                              static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / grid);
                    const float w = static_cast<float>(c.a) / 255.f;
                    r += c.r * w;
                    g += c.g * w;
                    b += c.b * w;
                    a += w;
                }
            }
            if (a <= 0.f)
                continue;
            auto channel = [](float v) {
                return static_cast<sf::Uint8>(std::clamp(std::lround(v), 0L, 255L));
            };
            image.setPixel(x, y,
                           sf::Color(channel(r / a), channel(g / a), channel(b / a),
                                     channel(a / (grid * grid) * 255.f)));
        }
    }
    return image;
}

// Small integer hash: deterministic "noise" that also wraps cleanly when the
// caller takes x modulo the tile width.
std::uint32_t hashAt(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

float distanceToSegment(float px, float py, float ax, float ay, float bx, float by) {
    const float vx = bx - ax, vy = by - ay;
    const float t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.f, 1.f);
    return std::hypot(px - (ax + t * vx), py - (ay + t * vy));
}

void expectSize(const sf::Image& image, unsigned width, unsigned height, const std::string& name) {
    const sf::Vector2u size = image.getSize();
    if (size.x != width || size.y != height)
        throw std::runtime_error(name + " is " + std::to_string(size.x) + "x" +
                                 std::to_string(size.y) + ", expected " + std::to_string(width) +
                                 "x" + std::to_string(height));
}

void save(const sf::Image& image, const std::string& path) {
    if (!image.saveToFile(path))
        throw std::runtime_error("cannot write " + path);
    std::cout << "wrote " << path << '\n';
}

// ---------------------------------------------------------------- dinosaur

// The body is white and light grey so that sf::Sprite::setColor can tint it
// to any player colour; outline, eye, mouth and claws are grey so they stay
// visible under the tint. Drawn on a 37x39 grid of 3 px cells, facing right.
const Palette dinoPalette = {
    {'W', sf::Color(255, 255, 255)}, // lit skin
    {'L', sf::Color(225, 225, 225)}, // shaded skin, far limbs
    {'E', sf::Color(40, 40, 40)},    // eye
    {'M', sf::Color(110, 110, 110)}, // mouth, nostril, claws
};
const sf::Color dinoOutline(70, 70, 70);

const Art dinoUpperBody = {
    "......................WWWWWWWWWWWWW..", ".....................WWWWWWWWWWWWWWW.",
    "....................WWWWWWWWWWWWWWMWW", "....................WWWWEEWWWWWWWWWWW",
    "....................WWWWEEWWWWWWWWWWW", "....................WWWWWWWWWWWWWWWWW",
    "....................WWWWWWWMWWWWWWWWW", "....................WWWWWWWWMMMMMMMMM",
    "....................WWWWWWWWWWWWWLL..", "W..........L...L...WWWWWWWWLLLLL.....",
    "WW.....L...LL..LL.WWWWWWWW...........", "WWWW...LLWWWWWWWWWWWWWWWWW...........",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWW..........", "LWWWWWWWWWWWWWWWWWWWWWWWWWWW.........",
    ".LLWWWWWWWWWWWWWWWWWWWWWWWWW.........", "...LLLWWWWWWWWWWWWWWWWWWWWWWW........",
    ".....LLLWWWWWWWWWWWWWWWWWWWWWWW......", "......LLLWWWWWWWWWWWWWWWWWWWWWWW.....",
    ".......LLWWWWWWWWWWWWWWWWWWW.WWWW....", "........LWWWWWWWWWWWWWWWWWWW...MWM...",
    ".........WWWWWWWWWWWWWWWWWWW.........", ".........WWWWWWWWWWWWWWWWWWL.........",
    ".........WWWWWWWWWWWWWWWWWLL.........", "..........WWWWWWWWWWWWWWWLL..........",
    "..........WWWWWWWWWWWWWWLLL..........", "...........WWWWWWWWWWWLLLL...........",
    "...........WWWWWWWWWLLLLL............",
};

// Standing: both feet on the ground (lobby figure).
const Art dinoLegsStanding = {
    "...........WWWWWWW..LLLLL............", "...........WWWWWWW..LLLLL............",
    "............WWWWWW...LLLL............", ".............WWWW....LLL.............",
    "..............WWW....LLL.............", "..............WWW....LLL.............",
    "..............WWW....LLL.............", "..............WWW....LLL.............",
    "..............WWW....LLL.............", "..............WWW....LLL.............",
    "..............WWWWWW.LLLLLL..........", "..............WWWWWM.LLLLLM..........",
};

// Running, first frame: the near (left) leg planted, the far (right) leg lifted.
const Art dinoLegsNearDown = {
    "...........WWWWWWW..LLLLL............", "............WWWWWWW.LLLLL............",
    ".............WWWWWW..LLLL............", "..............WWWW....LLL............",
    "...............WWW....LLL............", "...............WWW....LLLLLL.........",
    "...............WWW....LLLLLM.........", "...............WWW...................",
    "...............WWW...................", "...............WWW...................",
    "...............WWWWWW................", "...............WWWWWM................",
};

// Running, second frame: the far (right) leg planted, the near (left) leg lifted.
const Art dinoLegsFarDown = {
    "...........WWWWWWW..LLLLL............", "...........WWWWWW...LLLLL............",
    "...........WWWWW.....LLLL............", "...........WWWW......LLL.............",
    "...........WWW.......LLL.............", "...........WWWWWW....LLL.............",
    "...........WWWWWM....LLL.............", ".....................LLL.............",
    ".....................LLL.............", ".....................LLL.............",
    ".....................LLLLLL..........", ".....................LLLLLM..........",
};

sf::Image dinoImage(const Art& legs) {
    Art art = dinoUpperBody;
    art.insert(art.end(), legs.begin(), legs.end());
    sf::Image image = fromArt(art, dinoPalette, 3, 1);
    outlineInside(image, dinoOutline, 2);
    // A 2x2 glint near the top-right corner of the 6x6 eye keeps it lively.
    const unsigned eyeLeft = 24 * 3, eyeTop = 1 + 3 * 3;
    for (unsigned y = 0; y < 2; ++y)
        for (unsigned x = 0; x < 2; ++x)
            image.setPixel(eyeLeft + 4 + x, eyeTop + 1 + y, sf::Color::White);
    expectSize(image, 111, 118, "dinosaur");
    return image;
}

// ---------------------------------------------------------------- ready mark

// White disc, dark rim, bold green tick: readable at 30% scale over any
// player colour.
sf::Image markImage() {
    const float cx = 100.f, cy = 100.f, radius = 97.f, rim = 14.f;
    const float tick[3][2] = {{54.f, 104.f}, {86.f, 138.f}, {148.f, 66.f}};
    const float tickHalf = 15.f, tickEdge = 5.f;
    sf::Image image = supersample(200, 200, [&](float x, float y) {
        const float d = std::hypot(x - cx, y - cy);
        if (d > radius)
            return transparent;
        if (d > radius - rim)
            return sf::Color(34, 38, 46);
        const float t =
            std::min(distanceToSegment(x, y, tick[0][0], tick[0][1], tick[1][0], tick[1][1]),
                     distanceToSegment(x, y, tick[1][0], tick[1][1], tick[2][0], tick[2][1]));
        if (t <= tickHalf - tickEdge)
            return y + x * 0.2f < 100.f ? sf::Color(84, 208, 96) : sf::Color(46, 176, 70);
        if (t <= tickHalf)
            return sf::Color(22, 104, 44);
        return d > radius - rim - 6.f ? sf::Color(226, 230, 236) : sf::Color(255, 255, 255);
    });
    expectSize(image, 200, 200, "mark");
    return image;
}

// ---------------------------------------------------------------- ground

// One 64x40 tile of ochre earth: dark crust on top, mottled soil, flecks
// and a few pebbles. Everything is computed modulo the tile width, so tiles
// join without a seam.
sf::Image groundImage() {
    constexpr unsigned width = 64, height = 40;
    const sf::Color crust(96, 62, 34), crustLight(138, 92, 52);
    const sf::Color soil(198, 146, 86), soilLight(212, 162, 102), soilDark(178, 128, 74);
    const sf::Color fleck(140, 98, 58);
    sf::Image image;
    image.create(width, height, soil);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            sf::Color c = soil;
            // Mottling in 2x2 blocks reads as chunky pixels at scale 1.
            const std::uint32_t blob = hashAt(x / 2, y / 2, 7) % 100;
            if (blob < 18)
                c = soilDark;
            else if (blob > 84)
                c = soilLight;
            if (hashAt(x, y, 3) % 100 < 5)
                c = fleck;
            // The crust: two dark rows, then a ragged lighter row.
            if (y < 2 || (y == 2 && hashAt(x, 0, 11) % 3 != 0))
                c = crust;
            else if (y == 3 && hashAt(x, 0, 11) % 3 == 0)
                c = crustLight;
            image.setPixel(x, y, c);
        }
    }
    // Pebbles: small ovals with a light top and a dark bottom.
    struct Pebble {
        int x, y, w, h;
        sf::Color top, bottom;
    };
    const Pebble pebbles[] = {
        {5, 9, 4, 2, sf::Color(170, 150, 128), sf::Color(118, 100, 84)},
        {22, 16, 3, 2, sf::Color(186, 168, 140), sf::Color(124, 106, 88)},
        {40, 8, 5, 3, sf::Color(160, 142, 122), sf::Color(108, 92, 78)},
        {61, 22, 4, 2, sf::Color(176, 156, 132), sf::Color(120, 102, 86)}, // wraps across the edge
        {13, 29, 3, 2, sf::Color(166, 146, 124), sf::Color(112, 96, 80)},
        {31, 33, 5, 3, sf::Color(180, 160, 136), sf::Color(122, 104, 88)},
        {50, 30, 3, 2, sf::Color(170, 150, 128), sf::Color(116, 98, 82)},
    };
    for (const Pebble& p : pebbles) {
        for (int dy = 0; dy < p.h; ++dy) {
            for (int dx = 0; dx < p.w; ++dx) {
                const bool corner =
                    (dx == 0 || dx == p.w - 1) && (dy == 0 || dy == p.h - 1) && p.h > 2;
                if (corner)
                    continue;
                const unsigned x = static_cast<unsigned>((p.x + dx) % static_cast<int>(width));
                image.setPixel(x, static_cast<unsigned>(p.y + dy),
                               dy == p.h - 1 ? p.bottom : p.top);
            }
        }
    }
    expectSize(image, 64, 40, "ground");
    return image;
}

// ---------------------------------------------------------------- cacti

const Palette cactusPalette = {
    {'O', sf::Color(28, 72, 40)},    // outline
    {'D', sf::Color(52, 124, 58)},   // shade and ribs
    {'G', sf::Color(78, 168, 72)},   // body
    {'H', sf::Color(132, 206, 98)},  // light side
    {'S', sf::Color(238, 236, 188)}, // spine tufts on the body
    {'T', sf::Color(176, 158, 96)},  // spines sticking out
    {'R', sf::Color(168, 44, 92)},   // flower outline
    {'P', sf::Color(236, 104, 150)}, // petals
    {'Q', sf::Color(255, 176, 204)}, // petal highlight
    {'Y', sf::Color(250, 212, 64)},  // flower heart
};

// A round, ribbed barrel cactus with a flower on top.
const Art cactusSmallArt = {
    "............RRRR............", "...........RPPPPR...........", "..........RPQYYQPR..........",
    "..........RPPYYPPR..........", "...........RPPPPR...........", ".........OOOOOOOOOO.........",
    ".......OOHDHGGGDGDDOO.......", ".....OHDHGDHGGGDGGDGDDO.....", "....OHDHGGDHGGGDGGGDGDDO....",
    "..TOHHDHGGDHGGGDGGGDGDDDOT..", "...OHHDHGGDHGGGDGGGDGDDDO...", "..OHHGDHGGDHGGGDGGGDGGDDDO..",
    "..OHHGSHGGDHGGGSGGGDGGDDDO..", ".TOHHGDHGGDHGGGDGGGDGGDDDOT.", "..OHHGDHGGSHGGGDGGGSGGDDDO..",
    "..OHHGDHGGDHGGGDGGGDGGDDDO..", "..OHHGSHGGDHGGGSGGGDGGDDDO..", "..OHHGDHGGDHGGGDGGGDGGDDDO..",
    "..OHHGDHGGSHGGGDGGGSGGDDDO..", ".TOHHGDHGGDHGGGDGGGDGGDDDOT.", "..OHHGSHGGDHGGGSGGGDGGDDDO..",
    "..OHHGDHGGDHGGGDGGGDGGDDDO..", "..OHHGDHGGSHGGGDGGGSGGDDDO..", "..OHHGDHGGDHGGGDGGGDGGDDDO..",
    "...OHHDHGGDHGGGDGGGDGDDDO...", "...OHHDHGGDHGGGDGGGDGDDDO...", "....OOOOOOOOOOOOOOOOOOOO....",
};

// A tall saguaro with one arm on each side.
const Art cactusTallArt = {
    "..............OOOOOOOO..............", ".............OHGGDGGGDO.............",
    "............OHHGGDGGGDDO............", "............OHHGGDGGGDDO.....OOO....",
    "............OHHGGDGGGDDO....OGGDO...", "............OHHGGDGSGDDO...OHGGDDO..",
    "............OHHGGDGGGDDO...OHGGDDO..", "....OOO.....OHHGGDGGGDDO...OHGGDDO..",
    "...OGGDO....OHHGGDGGGDDO...OHGGDDOT.", "..OHGGDDO...OHHGGDGGGDDO...OHGGDDO..",
    "..OHGGDDO...OHHGGDGGGDDOT..OHGSDDO..", "..OHGSDDO...OHHGGDGGGDDO...OHGGDDO..",
    ".TOHGGDDO...OHHSGDGGGDDO...OHGGDDO..", "..OHGGDDO..TOHHGGDGGGDDO...OHGGDDO..",
    "..OHGGDDO...OHHGGDGGGDDO...OHGGDDOT.", "..OHGGDDO...OHHGGDGGGDDO...OHGGDDO..",
    "..OHGGDDO...OHHGGDGGGDDOOOOOHGGDDO..", "..OHGSDDO...OHHGGDGGGDDHHHHHHGGDDO..",
    "..OHGGDDO...OHHGGDGGGDDGGGGGHGGDDO..", ".TOHGGDDO...OHHGGDGSGDDGGGGGHGGDDO..",
    "..OHGGDDO...OHHGGDGGGDDDDDDDDDDDDO..", "..OHGGDDOOOOOHHGGDGGGDDDDDDDDDDDO...",
    "..OHGGDDHHHHHHHGGDGGGDDOOOOOOOOO....", "..OHGGDDGGGGGHHGGDGGGDDO............",
    "..OHGGDDGGGGGHHGGDGGGDDO............", "..OHGGDDDDDDDHHGGDGGGDDO............",
    "...ODDDDDDDDDHHGGDGGGDDO............", "....OOOOOOOOOHHGGDGGGDDO............",
    "............OHHSGDGGGDDO............", "............OHHGGDGGGDDO............",
    "............OHHGGDGGGDDOT...........", "............OHHGGDGGGDDO............",
    "............OHHGGDGGGDDO............", "...........TOHHGGDGGGDDO............",
    "............OHHGGDGGGDDO............", "............OHHGGDGSGDDO............",
    "............OHHGGDGGGDDO............", "............OHHGGDGGGDDOT...........",
    "............OHHGGDGGGDDO............", "............OHHGGDGGGDDO............",
    "............ODDDDDDDDDDO............",
};

sf::Image cactusImage(const Art& art, unsigned width, unsigned height, const std::string& name) {
    sf::Image image = fromArt(art, cactusPalette, 1);
    expectSize(image, width, height, name);
    return image;
}

// ---------------------------------------------------------------- coin

const Art coinArt = {
    ".....OOOOOO.....", "...OOHHYYYYOO...", "..OHHYYYYYYYYO..", ".OHYYDDDDDDYYDO.",
    ".OHYDYYYYYYDYDO.", "OHYDYYHHYYYYDYDO", "OHYDYHYYYYYYDYDO", "OHYDYHYYYYYYDYDO",
    "OYYDYYYYYYYYDYDO", "OYYDYYYYYYYYDYDO", "OYYDYYYYYYYYDYDO", ".OYYDYYYYYYDYDO.",
    ".OYYYDDDDDDYDDO.", "..OYYYYYYYYDDO..", "...OODDDDDDOO...", ".....OOOOOO.....",
};

sf::Image coinImage() {
    const Palette palette = {
        {'O', sf::Color(140, 84, 18)},   // rim outline
        {'D', sf::Color(214, 146, 30)},  // groove and shadow
        {'Y', sf::Color(248, 198, 52)},  // gold
        {'H', sf::Color(255, 246, 178)}, // shine
    };
    sf::Image image = fromArt(coinArt, palette, 1);
    expectSize(image, 16, 16, "coin");
    return image;
}

// ---------------------------------------------------------------- hammer

// A wooden handle on the diagonal and a steel head across its top, drawn as
// two rotated rectangles sampled at pixel centres (hard pixel-art edges).
sf::Image hammerImage() {
    constexpr unsigned size = 32;
    const float baseX = 4.5f, baseY = 27.5f, length = 21.f;
    const float ux = std::sqrt(0.5f), uy = -std::sqrt(0.5f); // along the handle, up-right
    const float vx = std::sqrt(0.5f), vy = std::sqrt(0.5f);  // across it, down-right
    sf::Image image;
    image.create(size, size, transparent);
    for (unsigned y = 0; y < size; ++y) {
        for (unsigned x = 0; x < size; ++x) {
            const float px = static_cast<float>(x) + 0.5f - baseX,
                        py = static_cast<float>(y) + 0.5f - baseY;
            const float u = px * ux + py * uy, v = px * vx + py * vy;
            const float headU = u - length;
            if (std::abs(headU) <= 4.3f && std::abs(v) <= 10.5f) {
                sf::Color c(150, 156, 168);
                if (headU > 2.0f)
                    c = sf::Color(206, 212, 222);
                else if (headU < -2.2f)
                    c = sf::Color(104, 110, 124);
                if (std::abs(v) > 8.8f)
                    c = sf::Color(120, 126, 140); // striking faces
                image.setPixel(x, y, c);
            } else if (u >= -1.f && u <= length && std::abs(v) <= 2.2f) {
                sf::Color c(170, 112, 58);
                if (v < -0.7f)
                    c = sf::Color(206, 148, 86);
                else if (v > 0.9f)
                    c = sf::Color(122, 76, 38);
                if (u < 7.f && static_cast<int>(std::floor(u)) % 3 != 0)
                    c = v < 0.f ? sf::Color(150, 62, 48) : sf::Color(110, 42, 34); // leather grip
                image.setPixel(x, y, c);
            }
        }
    }
    outlineInside(image, sf::Color(42, 30, 28), 1);
    expectSize(image, 32, 32, "hammer");
    return image;
}

// ---------------------------------------------------------------- bird

// A pterodactyl gliding to the left: near wing raised, far wing lowered.
const Art birdArt = {
    "...............................OOOOO.", "............................OOOMMMO..",
    "........................OOOOBBBMMO...", ".....................OOOBBBBMMMMO....",
    "...................OOBBBMMMMMDMO.....", "..............OO..OBBMMMMMMMDMO......",
    "............OOBBO.OBMMMMMMDMMO.......", "..........OOBBBO.OBMMMMMDMMMO........",
    ".......OOOBBBBOOOOBMMMMDMMMMO........", "......OBEEBBBBBBBBMMMDMMMMMO.........",
    "..OOOOBBKEBBBBBBBBBBBBBBBMO..........", "OYYYYYBBBBBBBBBBBBBBBBBBBBO..........",
    ".OyyyyLLBBBBBBBBBBBBBBBBBBBO.........", "...OOOOOOOOOLLLLLLLLLLBBBBBBO........",
    "............OOLLLLLLLLLLBBOBBBO......", "..............OOOWWWWWWWWOOOOOOO.....",
    ".................OMWWWWWWWWO.........", "..................OOMWWWWWWWO........",
    "....................OOMWWWWWWO.......", "......................OOMWWWWWO......",
    "........................OOMWWWWO.....", "..........................OOMWWWO....",
    "............................OOOOOO...",
};

sf::Image birdImage() {
    const Palette palette = {
        {'O', sf::Color(46, 36, 40)},    // outline
        {'B', sf::Color(112, 90, 82)},   // body
        {'L', sf::Color(160, 136, 118)}, // belly and throat
        {'M', sf::Color(136, 108, 98)},  // near wing
        {'D', sf::Color(94, 74, 70)},    // wing fold
        {'W', sf::Color(92, 72, 68)},    // far wing, in shadow
        {'Y', sf::Color(236, 168, 64)},  // beak
        {'y', sf::Color(188, 116, 44)},  // lower beak
        {'E', sf::Color(250, 248, 236)}, // eye white
        {'K', sf::Color(16, 14, 16)},    // pupil
    };
    sf::Image image = fromArt(birdArt, palette, 1);
    expectSize(image, 37, 23, "bird");
    return image;
}

// ---------------------------------------------------------------- saw

// A circular saw blade: raked teeth, a dark rim line, a darker inner ring and
// a bolted hub. Shading comes in flat bands so it stays crisp when scaled down.
sf::Image sawImage() {
    constexpr unsigned width = 492, height = 495;
    const float cx = width / 2.f, cy = height / 2.f;
    const float body = 200.f, tip = 244.f;
    constexpr int teeth = 18;
    sf::Image image = supersample(width, height, [&](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        const float r = std::hypot(dx, dy);
        const float angle = std::atan2(dy, dx);
        float phase = (angle / (2.f * pi) + 1.f) * teeth;
        phase -= std::floor(phase);
        // Steep cutting face, long sloping back.
        const float rise = phase < 0.2f ? phase / 0.2f : (1.f - phase) / 0.8f;
        const float edge = body + (tip - body) * rise;
        if (r > edge)
            return transparent;
        if (r > edge - 9.f)
            return sf::Color(52, 56, 66);
        // Light comes from the top left: three flat tones by angle.
        const float light = std::cos(angle + 0.75f * pi);
        const sf::Color bright(214, 220, 230), mid(178, 184, 196), dim(146, 152, 166);
        if (r > body - 6.f)
            return light > 0.3f ? sf::Color(236, 240, 246)
                                : sf::Color(196, 202, 212); // sharpened edge
        if (r > 128.f && r < 146.f)
            return sf::Color(104, 110, 124); // inner ring
        if (r < 70.f) {
            if (r > 60.f)
                return sf::Color(60, 64, 74);
            if (r < 16.f)
                return sf::Color(36, 38, 44); // arbor hole
            for (int k = 0; k < 6; ++k) {
                const float a = k * pi / 3.f + pi / 6.f;
                if (std::hypot(dx - 38.f * std::cos(a), dy - 38.f * std::sin(a)) < 9.f)
                    return sf::Color(60, 64, 74);
            }
            return light > -0.2f ? sf::Color(226, 230, 238) : sf::Color(190, 196, 206);
        }
        if (light > 0.45f)
            return bright;
        return light > -0.45f ? mid : dim;
    });
    expectSize(image, 492, 495, "saw");
    return image;
}

// ---------------------------------------------------------------- cloud

// A low, flat cloud with a light grey rim, visible on white and on black.
const Art cloudArt = {
    "............OOOOOO...................", "..........OOWWWWWWOO.................",
    ".........OWWWWWWWWWWO..OOOOO.........", "....OOOOOWWWWWWWWWWWWOOWWWWWOOO......",
    "...OWWWWWWWWWWWWWWWWWWWWWWWWWWWO.....", "..OWWWWWWWWWWWWWWWWWWWWWWWWWWWWOOOO..",
    ".OWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWO.", "OWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWO",
    "OWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWO", "OWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWO",
    ".OSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSO.", "..OOOOOOOOOOOOOOOOOOOOOOOOOOOOOOOOO..",
};

sf::Image cloudImage() {
    const Palette palette = {
        {'O', sf::Color(206, 210, 218)}, // rim
        {'W', sf::Color(252, 252, 255)}, // fill
        {'S', sf::Color(234, 237, 244)}, // shaded underside
    };
    sf::Image image = fromArt(cloudArt, palette, 1);
    expectSize(image, 37, 12, "cloud");
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: " << argv[0] << " <output-folder> [idle-folder]\n";
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    const std::string idleDir = std::string(argc == 3 ? argv[2] : argv[1]) + "/";
    try {
        save(dinoImage(dinoLegsNearDown), out + "dino_left.png");
        save(dinoImage(dinoLegsFarDown), out + "dino_right.png");
        save(dinoImage(dinoLegsStanding), idleDir + "idle.png");
        save(markImage(), out + "mark.png");
        save(groundImage(), out + "ground.png");
        save(cactusImage(cactusSmallArt, 28, 27, "small cactus"), out + "cactus0.png");
        save(cactusImage(cactusTallArt, 36, 41, "tall cactus"), out + "cactus1.png");
        save(coinImage(), out + "coin0.png");
        save(hammerImage(), out + "hammer.png");
        save(birdImage(), out + "bird.png");
        save(sawImage(), out + "saw.png");
        save(cloudImage(), out + "cloud.png");
    } catch (const std::exception& error) {
        std::cerr << "makeassets: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
