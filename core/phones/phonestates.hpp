// What the game last told each phone: the text of its player's state, kept by seat so that a
// page that connects or comes back gets it at once, and numbered so that each page is sent
// only what is newer than what it has.
#pragma once

#include "core/platform.hpp"

#include <cstdint>
#include <string>

// The message a phone's page reads for a state: its name, the player's number as people count
// (from 1) and its colour, as "ready 2 #ff0000".
std::string phoneStateText(ControllerState state, int player, sf::Color colour);
// Keeps text as the latest state of the phone at seat; seats from maxPhoneTokens up are left out.
void keepPhoneState(int seat, const std::string& text);
// The latest state of the phone at seat when it is newer than seen: true, with text and seen
// brought up to date; false when there is none or nothing newer.
bool newerPhoneState(int seat, std::uint64_t& seen, std::string& text);
// Forgets every state kept, for a new session.
void forgetPhoneStates();
