// The lobby's card for phones: the address they join at, as a QR code over the address in
// small text, in the bottom-right corner, clear of the players' figures.
#pragma once

#include <string>

// The address phones join at; empty when the game takes no phones, and then no card is drawn.
extern std::string phoneJoinAddress;

// Makes the card's QR code for address and keeps address as phoneJoinAddress.
void preparePhoneCard(const std::string& address);
// Draws the card into the window, when there is one.
void drawPhoneCard();
