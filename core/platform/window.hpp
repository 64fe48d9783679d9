// Opening the game's one window: full screen at the desktop size, with the game's icon and
// the world's view.
#pragma once

// Opens the window full screen at desktopWidth × desktopHeight, titled "Twinrun", gives it the
// running dinosaur as its icon and draws the world into it at pixelScale; false when it could
// not be opened.
bool openGameWindow();
