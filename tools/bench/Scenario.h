#pragma once

#include <SDL3/SDL.h>

class Game;
class SceneMain;

// The real main scene, set up to be timed: a player that cannot die, the cursor still in the middle,
// and no spawning of its own; the benchmark places the enemies.
SceneMain* startBenchScene(Game& game);

// Replaces the scene's enemies with count new ones, scattered over the screen.
void setEnemies(Game& game, SceneMain* scene, int count);

// Milliseconds since a tick count.
double msSince(Uint64 start);

// A ten-minute run kept at its end and continued: what keeping it costs, and how long restoring it takes.
struct RestoreTimes {
    // Kept every five seconds: a keep's share of its frame (what the game added copied, its state hashed),
    // and its writing, on the keeper's thread or in the page's idle time; the slowest and the median.
    double snapshot_ms = 0.0;
    double snapshot_median_ms = 0.0;
    double keep_ms = 0.0;
    double keep_median_ms = 0.0;
    double restore_s = 0.0;   // CONTINUE: the run played again to where it was kept
    unsigned frames = 0;
    unsigned bytes = 0;
    int score = 0;
    int enemies = 0; // in the world at the end
    bool restored = false;
};
// The ghost cannot die, walks a square a second at a time, and strikes at itself every half second.
RestoreTimes measureRestore(Game& game);
