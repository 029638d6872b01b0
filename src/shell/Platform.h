#pragma once

// Where the operating systems differ for the game, in one place.

// The game reads assets/ from the folder it runs in. On Linux the launcher starts it in the player's
// data folder; on Windows there is no launcher, and a shortcut may start it anywhere, so the game
// moves to the folder that holds its executable (and assets/).
void enterGameFolder();

// False only where the machine surely has no GPU (Linux without GPU device nodes); elsewhere the game
// asks OpenGL itself what it runs on.
[[nodiscard]] bool mayHaveGpu();
