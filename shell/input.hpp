// The input layer: the only code that asks the window for events and the joysticks for
// axis positions, so that tests can replace both with a script.
#pragma once

#include <SFML/Window/Event.hpp>

#include <functional>

// Takes the next pending event into the global event; false when none is pending.
bool pollInput();
// Live position of an axis of a joystick, -100 to 100; 0 for ids or axes out of range.
float readAxis(unsigned int joystickId, unsigned int axis);

// Scripting, for tests: while a script is active, pollInput takes its events from the
// script instead of the window, and readAxis reads the scripted positions.
void startScript();
void stopScript();
// Appends an event to the script.
void scriptEvent(const sf::Event& scripted);
// Appends the end of a pass: pollInput reports no pending event once.
void scriptPassEnd();
// Makes source the script's supply: whenever the scripted events run out, pollInput calls it
// to append more (one entry or many) before it ends a pass or runs dry; once it returns false
// it is dropped. A source can thus pick each event when it is about to be taken, and see the
// state that all earlier events left.
void scriptSource(std::function<bool()> source);
// Sets the position that readAxis reports for one axis.
void scriptAxis(unsigned int joystickId, unsigned int axis, float position);
// True once the script ran out while a loop still asked for events. A dry script then
// acts as the window's close request, so that no loop waits forever.
bool scriptRanDry();
