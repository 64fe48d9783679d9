// Opening the game's one window: full screen at the desktop size, with the game's icon, which
// is built into the executable so that the game reads no file of its own for it.
#include "core/platform/window.hpp"

#include "core/globals.hpp"
#include "core/scale.hpp"

#include <algorithm>
#include <cstddef>

// The running dinosaur's picture as a PNG file, built in from the image the desktop icons are
// made of.
extern const unsigned char windowIconPng[];
extern const std::size_t windowIconPngSize;

namespace {

// Side of the square icon, in pixels: the picture stands in its middle.
constexpr unsigned int iconSide = 128;

// Task switchers and docks show the window's icon square, so the picture is centred on a
// transparent square instead of being stretched.
void setIcon() {
    sf::Image picture;
    if (!picture.loadFromMemory(windowIconPng, windowIconPngSize)) {
        return;
    }
    sf::Image icon;
    icon.create(iconSide, iconSide, sf::Color::Transparent);
    const sf::Vector2u size = picture.getSize();
    icon.copy(picture, (iconSide - std::min(size.x, iconSide)) / 2,
              (iconSide - std::min(size.y, iconSide)) / 2);
    window.setIcon(iconSide, iconSide, icon.getPixelsPtr());
}

} // namespace

bool openGameWindow() {
    window.create(sf::VideoMode(static_cast<unsigned int>(desktopWidth),
                                static_cast<unsigned int>(desktopHeight), 32),
                  sf::String("Twinrun"), sf::Style::Fullscreen);
    if (!window.isOpen()) {
        return false;
    }
    setIcon();
    // At scale 1 this is the window's own view: the world in the desktop's pixels.
    window.setView(worldView());
    return true;
}
