// The committed assets: sizes that fit the collision boxes at their drawing scales,
// figures that players' colours can tint, a ground that shows on white, a real GIF and a
// font that loads.
#include "support.hpp"

#include <fstream>

namespace {

sf::Image loadAsset(const std::string& name) {
    sf::Image image;
    EXPECT_TRUE(image.loadFromFile("src/" + name)) << name;
    return image;
}

struct Coverage {
    int opaque = 0;
    int transparent = 0;
    int light = 0; // opaque and at least 200 in every channel
};

Coverage coverage(const sf::Image& image) {
    Coverage counted;
    for (unsigned int y = 0; y < image.getSize().y; ++y) {
        for (unsigned int x = 0; x < image.getSize().x; ++x) {
            const sf::Color c = image.getPixel(x, y);
            if (c.a == 0) {
                ++counted.transparent;
            } else if (c.a == 255) {
                ++counted.opaque;
                if (c.r >= 200 && c.g >= 200 && c.b >= 200) {
                    ++counted.light;
                }
            }
        }
    }
    return counted;
}

} // namespace

TEST(Assets, ImageSizesMatchTheCollisionBoxesAtTheirScales) {
    struct Expected {
        const char* name;
        unsigned int w, h;
    };
    for (const Expected& e : {Expected{"dino_left.png", 111, 118},
                              Expected{"dino_right.png", 111, 118}, Expected{"cactus0.png", 28, 27},
                              Expected{"cactus1.png", 36, 41}, Expected{"coin0.png", 16, 16},
                              Expected{"hammer.png", 32, 32}, Expected{"bird.png", 37, 23},
                              Expected{"saw.png", 492, 495}, Expected{"cloud.png", 37, 12}}) {
        const sf::Image image = loadAsset(e.name);
        EXPECT_EQ(image.getSize(), sf::Vector2u(e.w, e.h)) << e.name;
        EXPECT_GT(coverage(image).transparent, 0) << e.name << " has a transparent background";
    }
}

TEST(Assets, TheGroundIsATileThatCactiReachOverAndShowsOnWhite) {
    const sf::Image ground = loadAsset("ground.png");
    EXPECT_GE(ground.getSize().x, 64u);
    EXPECT_LT(ground.getSize().y, 81u) << "both cacti must reach a dinosaur on the floor";
    const Coverage counted = coverage(ground);
    EXPECT_EQ(counted.opaque, static_cast<int>(ground.getSize().x * ground.getSize().y));
    EXPECT_EQ(counted.light, 0) << "no pixel close to white";
}

TEST(Assets, DinosaursAndTheLobbyFigureAreLightSoThatTintsShow) {
    for (const char* name : {"dino_left.png", "dino_right.png", "idle.gif"}) {
        const Coverage counted = coverage(loadAsset(name));
        EXPECT_GT(counted.transparent, 0) << name;
        EXPECT_GT(counted.light, counted.opaque * 3 / 4) << name;
        EXPECT_GT(counted.opaque, 2000) << name;
    }
    const sf::Image left = loadAsset("dino_left.png");
    const sf::Image right = loadAsset("dino_right.png");
    ASSERT_EQ(left.getSize(), sf::Vector2u(111, 118));
    ASSERT_EQ(right.getSize(), sf::Vector2u(111, 118));
    int differ = 0;
    for (unsigned int y = 0; y < 118; ++y) {
        for (unsigned int x = 0; x < 111; ++x) {
            differ += (left.getPixel(x, y).a > 0) != (right.getPixel(x, y).a > 0) ? 1 : 0;
        }
    }
    EXPECT_GT(differ, 100) << "the two run frames differ visibly";
}

TEST(Assets, StandingSpritesTouchTheirBottomEdge) {
    for (const char* name : {"dino_left.png", "dino_right.png", "cactus0.png", "cactus1.png"}) {
        const sf::Image image = loadAsset(name);
        int bottom = 0;
        for (unsigned int x = 0; x < image.getSize().x; ++x) {
            bottom += image.getPixel(x, image.getSize().y - 1).a > 0 ? 1 : 0;
        }
        EXPECT_GT(bottom, 0) << name;
    }
}

TEST(Assets, TheIdleFigureIsARealGifAndTheFontLoadsWithItsLicence) {
    std::ifstream gif("src/idle.gif", std::ios::binary);
    char magic[6] = {};
    gif.read(magic, 6);
    EXPECT_EQ(std::string(magic, 6).substr(0, 4), "GIF8");

    sf::Font font;
    EXPECT_TRUE(font.loadFromFile("src/Pixellari.ttf"));
    std::ifstream licence("src/Pixellari.LICENSE.txt");
    std::string text((std::istreambuf_iterator<char>(licence)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("OFL"), std::string::npos);
}
