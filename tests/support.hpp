// Test support: a real window at a chosen size, a clean game state on the scripted platform,
// scripted events and frames read back as images.
#pragma once

#include "script.hpp"

#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "match/match.hpp"
#include "roster/roster.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// Opens the window at screenSize(), makes that the screen size and resets the game's state,
// its files, the script, the clock's frame limit and both random sequences; a test whose
// script ran dry fails.
class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    virtual sf::Vector2u screenSize() const { return {800, 600}; }
};

// A match set up on a 1024 × 768 window with the real images and one keyboard player
// (WSAD), who stands on the floor at x 30 as after its first tick.
class MatchTest : public GameTest {
  protected:
    sf::Vector2u screenSize() const override { return {1024, 768}; }
    void SetUp() override;
};

// Opens the window at that size, unless it is open at that size, and makes it the screen size.
void openWindow(sf::Vector2u size);

// The event of a word: "J" a press of a key (a letter, or Escape), "2:7" a press of button 7
// of joystick 2, "~J" and "~2:7" their releases, "2:X=-100" axis X of joystick 2 moved to -100
// (axes X Y Z R U V), "-2" joystick 2 unplugged, "close" the window's close request.
sf::Event eventOf(const std::string& word);
// Scripts the events of words separated by blanks; "|" ends a pass.
void script(const std::string& words);
// After the scripted events, the next polls end their passes instead of running dry, so that
// a loop can run on its own (a match whose players die) for that many passes.
void scriptIdle(int passes = 100000);

// Adds a finished player, as a join would: its keys as letters in the order jump, down, left,
// right ("WSAD"), or a joystick and its five slots.
void addPlayer(const std::string& keys);
void addPlayer(std::initializer_list<std::uint32_t> joystickSlots);
// Appends an entity as a spawner would.
void addEntity(const char* name, float x, float y, float width = 64.0f, float height = 64.0f);
// Puts player p back as new at (x, y); the player.
Player& place(std::size_t p, float x, float y);

// Expects the lobby's state without a join under way, with this many players.
void expectLobbyState(int records);

// The window's current contents, read before they are presented.
sf::Image grabWindow();
// The colours of the image at the points, a letter each: k black, w white, r red, g green,
// b blue, c cyan, ? any other.
std::string colours(const sf::Image& image, std::initializer_list<sf::Vector2f> points);
// An image of w × h pixels of one colour.
sf::Image solidImage(unsigned int w, unsigned int h, sf::Color color);
// The image saved as a temporary PNG, removed after the test; its path.
std::string savedImage(const sf::Image& image);
