// The SFML side's music: the loops and their fader, started with the effects.
#pragma once

// Makes the music's loops, each a buffer that the library plays over and over by itself, and
// starts their fader, silent until a loop is asked for. Called once the audio device is open.
void openMusic();
