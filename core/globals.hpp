// Globals every part of the game shares: the window, the desktop's and the world's size and
// the scale between them, the flags of the lobby and the match, the current event, the font
// path and the colours of day, night and players.
#pragma once

#include <SFML/Graphics.hpp>

#include <string>

// The one window; every lobby, join and match frame is drawn into it.
extern sf::RenderWindow window;
// Desktop size in pixels, read before main runs; the size of the full-screen window.
extern int desktopWidth;
extern int desktopHeight;
// Window pixels per world pixel in each direction (core/scale.hpp); 1 until main sets it.
extern int pixelScale;
// The world's size in its own pixels: the desktop divided by pixelScale. Every layout and
// rule of play is in these units.
extern int screenWidth;
extern int screenHeight;

// Clear colour of the match screen: white by day, black by night.
extern sf::Color backgroundColor;
// Colour of the score; black by day, which also selects the day colour of each player.
extern sf::Color inkColor;
// Number of entries in playerColors: a day and a night colour for 50 player numbers.
constexpr int playerColorCount = 100;
// Entry 2p tints player p on white (lobby, day); entry 2p + 1 on black (night).
extern sf::Color playerColors[playerColorCount];

// Path of the one font file.
extern std::string fontPath;

// A match is in progress.
extern bool matchRunning;
// A join with its binding capture is under way.
extern bool joinInProgress;
// The current window event; every event loop polls into it and handlers read it from here.
extern sf::Event event;
