// The match: its loop, set-up, world objects, motion and score.
#pragma once

// Plays one whole match and returns to the lobby when it is over.
void runMatch();
