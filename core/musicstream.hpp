// The SFML side's music: the stream that plays the loops, started with the effects.
#pragma once

// Makes the music's loops and starts their stream, playing silence until a loop is asked for.
// Called once the audio device is open.
void openMusicStream();
