// The lobby loop: the application's top, which ties the lobby screen, the joins and the
// matches together from start-up to exit.
#pragma once

#include "roster/roster.hpp"

// Result of the last action lookup made by the lobby dispatch.
extern PlayerAction lobbyAction;

// Runs the lobby loop until the window is closed.
void runLobby();
// One pass of the lobby loop: draw, start a match when all are ready, dispatch, present.
void lobbyPass();
// Handles the current event in the lobby: joins, ready marks, Escape and the close request.
void handleLobbyEvent();
