// The composed background music.
#pragma once

// Start-up steps 13 to 19: create the music objects, compose and start the
// piece. False with ErrStr set when a step fails.
bool InitMusic();
bool LoadMusic();
// Starts the composed piece again from its beginning; the window procedure
// first sets 999 repeats, a game over by contact does not.
void RestartMusic(bool setRepeats);
// Shutdown: stop, close down and release the music objects.
void ReleaseMusic();
