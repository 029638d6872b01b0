#include "Scenario.h"

#include "actors/Enemy.h"
#include "actors/Player.h"
#include "actors/Spawner.h"
#include "components/Stats.h"
#include "core/Game.h"
#include "replay/RunKeeper.h"
#include "scenes/SceneMain.h"

#include <SDL3/SDL.h>

#include <algorithm>
#include <vector>
#include <variant>

namespace {

void makeImmortal(SceneMain* scene) {
    Stats* stats = scene->getPlayer()->getStats();
    stats->setInvincibleTime(1e9f);
    stats->takeDamage(0.0f);
}

} // namespace

double msSince(Uint64 start) {
    return static_cast<double>(SDL_GetTicksNS() - start) / 1e6;
}

SceneMain* startBenchScene(Game& game) {
    auto* scene = new SceneMain; // owned by the game once changed to
    game.changeScene(scene);
    makeImmortal(scene); // the player cannot die
    scene->getSpawner()->setTarget(nullptr); // the enemy count is the benchmark's to set
    game.setMouseState({640.0f, 360.0f}, 0);
    return scene;
}

void setEnemies(Game& game, SceneMain* scene, int count) {
    for (ObjectWorld* object : scene->getChildrenWorld())
        if (object->getType() == ObjectType::ENEMY) object->setNeedRemove(true);
    scene->update(1.0f / 60.0f);
    const glm::vec2 camera = scene->getCameraPosition();
    for (int i = 0; i < count; ++i) {
        Enemy::addEnemyChild(scene, game.randomVec2(camera, camera + game.getScreenSize()),
                             scene->getPlayer());
    }
}

RestoreTimes measureRestore(Game& game) {
    constexpr int kFrames = 60 * 60 * 10;
    Replay moves;
    moves.seed = 8;
    for (int i = 0; i < kFrames; ++i) {
        FrameInput frame;
        // Frames of slightly different lengths, as a browser's are: each one a run of its own in the file.
        frame.dt = 1.0f / 60.0f + static_cast<float>(i * 7919 % 11 - 5) * 1e-5f;
        // A second's walk along one side of a square, then three seconds standing for the enemies to gather.
        const int side = (i / 240) % 4;
        const bool walks = i % 240 < 60;
        frame.up = walks && side == 0;
        frame.right = walks && side == 1;
        frame.down = walks && side == 2;
        frame.left = walks && side == 3;
        frame.strike = i % 30 == 0;
        frame.aim = frame.strike ? glm::vec2(640.0f, 360.0f) : glm::vec2(0.0f);
        moves.append(frame);
    }
    RestoreTimes times;
    // The run played, as the game records it.
    game.playBack(moves);
    auto* played = new SceneMain;
    game.changeScene(played);
    makeImmortal(played);
    // Kept every five seconds as it goes, as the game does: the slowest keep is the frame it costs most.
    RunKeeper& keeper = game.getRunKeeper();
    std::vector<double> in_frame;
    std::vector<double> writing;
    while (!game.isPlaybackOver()) {
        game.playToEnd(300);
        keeper.flush(); // as five seconds of frames would have given it time to
        const Uint64 start = SDL_GetTicksNS();
        (void)keeper.keep(game.getRecorder(), game.getScore(), played->stateHash(), {});
        in_frame.push_back(msSince(start));
        const Uint64 written = SDL_GetTicksNS();
        keeper.flush();
        writing.push_back(msSince(written));
    }
    std::sort(in_frame.begin(), in_frame.end());
    std::sort(writing.begin(), writing.end());
    times.snapshot_ms = in_frame.back();
    times.snapshot_median_ms = in_frame[in_frame.size() / 2];
    times.keep_ms = writing.back();
    times.keep_median_ms = writing[writing.size() / 2];
    game.stopPlayback();
    for (const ObjectWorld* object : played->getChildrenWorld())
        times.enemies += object->getType() == ObjectType::ENEMY ? 1 : 0;
    // Continued from what the keeper wrote, kept piece by piece as it went.
    std::variant<std::monostate, KeptRun, std::string> read = keeper.read();
    if (!std::holds_alternative<KeptRun>(read)) return times;
    KeptRun kept = std::get<KeptRun>(std::move(read));
    times.frames = kept.replay.frame_count;
    times.score = kept.replay.final_score;
    times.bytes = static_cast<unsigned>(encodeReplay(kept.replay).size());
    keeper.forget();
    (void)game.getRecorder().finish(0, 0);
    game.setScore(0); // as every way out of a game leaves it
    // Continued: the scene plays it again on its first update.
    auto* continued = new SceneMain(std::move(kept));
    game.changeScene(continued);
    makeImmortal(continued);
    const Uint64 start = SDL_GetTicksNS();
    continued->update(1.0f / 60.0f);
    times.restore_s = msSince(start) / 1000.0;
    times.restored = game.getNextScene() == nullptr && continued->getIsPause();
    (void)game.getRecorder().finish(0, 0);
    game.changeScene(nullptr);
    keeper.forget();
    keeper.flush();
    return times;
}
