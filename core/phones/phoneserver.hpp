// The phone server: HTTP and WebSocket on a port of every interface, on a thread of its own,
// which hands the phones' events to the game only through the queue of core/phones/phones.hpp.
#pragma once

#include <string>

// The page the phones load, served from memory.
extern const char* const phonePage;

// Starts the server at port (0: any free one, then set to the port taken) for a session with
// this code. False, with why in error, when it can't listen there.
bool startPhoneServer(unsigned short& port, const std::string& code, std::string& error);
// Stops the server and waits for its thread; nothing when none runs.
void stopPhoneServer();
// Tells the phone at seat its player's state (core/phones/phonestates.hpp): kept, sent to its page
// now when it is connected, and whenever it connects again.
void tellPhone(int seat, const std::string& text);
