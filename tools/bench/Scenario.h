#pragma once

class Game;
class SceneMain;

// The real main scene, set up to be timed: a player that cannot die, the cursor still in the middle,
// and no spawning of its own; the benchmark places the enemies.
SceneMain* startBenchScene(Game& game);

// Replaces the scene's enemies with count new ones, scattered over the screen.
void setEnemies(Game& game, SceneMain* scene, int count);
