// The whole-pixel scale: how many window pixels wide and high one pixel of the world is drawn,
// the world's size on a desktop, and texts sized in the world but rasterised in the window.
#pragma once

#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>

// The world a scale is meant for: a desktop this size or larger per k is drawn at scale k.
constexpr int baseWidth = 1280;
constexpr int baseHeight = 720;
// The least world the game is played in; a chosen scale that leaves less is refused.
constexpr int leastWidth = 640;
constexpr int leastHeight = 360;
// The largest scale that may be chosen.
constexpr int largestScale = 8;

// The scale of a desktop of width × height pixels: the largest whole k for which the desktop
// holds baseWidth × baseHeight k times in both directions, and 1 on smaller desktops.
int scaleFor(int width, int height);
// The world on that desktop at scale k: its size divided by k, rounded down.
sf::Vector2i worldSize(int width, int height, int scale);
// Whether scale k leaves a world of at least leastWidth × leastHeight on that desktop.
bool scaleFits(int width, int height, int scale);

// Makes k the scale of every frame: screenWidth × screenHeight become the world on the desktop.
void useScale(int scale);
// The view that maps the world onto the window, k window pixels to one world pixel, from its
// top left corner; the rest of fewer than k pixels at the right and bottom stays as cleared.
sf::View worldView();
// Gives text a character size of size world pixels, made of glyphs rasterised at the window's
// resolution: size × k pixels, drawn at 1 / k, never a small bitmap magnified.
void sizeText(sf::Text& text, unsigned int size);
