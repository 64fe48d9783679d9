// Globals every part of the game shares: the window, the desktop size, the flags of the
// lobby and the match, the current event, the font path and the colours of day, night and
// players.
#pragma once

#include <SFML/Graphics.hpp>

#include <string>

// The one window; every lobby, join and match frame is drawn into it.
extern sf::RenderWindow window;
// Desktop size in pixels, read before main runs; the size of the window and the play field.
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
