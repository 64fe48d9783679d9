// The whole-pixel scale of the desktop, the world it leaves, the view that draws the world
// k times as large and texts rasterised at the window's own resolution.
#include "core/scale.hpp"

#include "core/globals.hpp"

#include <algorithm>

int scaleFor(int width, int height) {
    return std::max(1, std::min(width / baseWidth, height / baseHeight));
}

sf::Vector2i worldSize(int width, int height, int scale) {
    return {width / scale, height / scale};
}

bool scaleFits(int width, int height, int scale) {
    const sf::Vector2i world = worldSize(width, height, scale);
    return scale >= 1 && world.x >= leastWidth && world.y >= leastHeight;
}

void useScale(int scale) {
    pixelScale = scale;
    const sf::Vector2i world = worldSize(desktopWidth, desktopHeight, scale);
    screenWidth = world.x;
    screenHeight = world.y;
}

sf::View worldView() {
    const auto width = static_cast<float>(screenWidth);
    const auto height = static_cast<float>(screenHeight);
    sf::View view(sf::FloatRect(0.0f, 0.0f, width, height));
    // The world's share of the window, which is at most k - 1 pixels larger in each direction.
    view.setViewport(sf::FloatRect(
        0.0f, 0.0f,
        width * static_cast<float>(pixelScale) / static_cast<float>(std::max(1, desktopWidth)),
        height * static_cast<float>(pixelScale) / static_cast<float>(std::max(1, desktopHeight))));
    return view;
}

void sizeText(sf::Text& text, unsigned int size) {
    const auto k = static_cast<unsigned int>(pixelScale);
    text.setCharacterSize(size * k);
    const float shrink = 1.0f / static_cast<float>(k);
    text.setScale(shrink, shrink);
}
