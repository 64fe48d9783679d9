// Opening the game's one window: full screen at the desktop size, with the game's icon.
#pragma once

// Opens the window full screen at screenWidth × screenHeight, titled "Twinrun", and gives it
// the running dinosaur as its icon; false when it could not be opened.
bool openGameWindow();
