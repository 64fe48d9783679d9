// Test support: a real window at a chosen size, a clean game state, scripted events and
// frames read back as images.
#pragma once

#include "roster/roster.hpp"
#include "shell/globals.hpp"
#include "shell/input.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Opens the window at w × h, makes that the screen size and resets the game's state.
// Every test that runs game code derives its fixture from this one; a test whose
// script ran dry fails.
class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Size of the window and screen for this fixture.
    virtual sf::Vector2u screenSize() const { return {800, 600}; }
};

// Clears the roster, the join state and the flags, and starts an empty script.
void resetGameState();

sf::Event keyPressed(sf::Keyboard::Key key);
sf::Event keyReleased(sf::Keyboard::Key key);
sf::Event buttonPressed(unsigned int joystickId, unsigned int button);
sf::Event buttonReleased(unsigned int joystickId, unsigned int button);
sf::Event axisMoved(unsigned int joystickId, sf::Joystick::Axis axis, float position);
sf::Event closeRequest();

// Scripts a press immediately followed by its release, as a tap of the key.
void scriptTap(sf::Keyboard::Key key);

// Adds a finished keyboard player with four keys, as a join would.
void addKeyboardPlayer(sf::Keyboard::Key jump, sf::Keyboard::Key down, sf::Keyboard::Key left,
                       sf::Keyboard::Key right);
// Adds a finished joystick player.
void addJoystickPlayer(unsigned int joystickId, unsigned int jump, unsigned int down,
                       unsigned int left, unsigned int right, unsigned int axis);

// The window's current contents, read before they are presented.
sf::Image grabWindow();

// Records every frame presented while it lives: the prompt shown and the picture.
class FrameRecorder {
  public:
    FrameRecorder();
    ~FrameRecorder();
    std::vector<std::string> prompts;
    std::vector<sf::Image> images;
    bool keepImages = false;
};

// Writes a w × h image filled with one colour to a temporary PNG file and returns its path.
std::string writeSolidImage(unsigned int w, unsigned int h, sf::Color color,
                            const std::string& name);

// Whether two colours are equal in red, green and blue.
::testing::AssertionResult sameColor(sf::Color actual, sf::Color expected);
