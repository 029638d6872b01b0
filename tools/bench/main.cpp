// Times the real main scene headless against a replay of exactly the SDL calls it makes, at a range
// of enemy counts, and (with --pacing, under X) the real loop's frame period.
#include "DrawLog.h"
#include "actors/Enemy.h"
#include "actors/Player.h"
#include "actors/Spawner.h"
#include "components/Stats.h"
#include "core/Game.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr double kBudgetMs = 1000.0 / 60.0;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double msSince(Uint64 start) {
    return static_cast<double>(SDL_GetTicksNS() - start) / 1e6;
}

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    }
    return 0;
}

struct Row {
    int enemies;
    double update_ms, render_ms, baseline_ms;
    long rss_kib;
};

void setEnemies(Game& game, SceneMain* scene, int count) {
    for (ObjectWorld* object : scene->getChildrenWorld())
        if (object->getType() == ObjectType::ENEMY) object->setNeedRemove(true);
    scene->update(kDt);
    const glm::vec2 camera = scene->getCameraPosition();
    for (int i = 0; i < count; ++i) {
        Enemy::addEnemyChild(scene, game.randomVec2(camera, camera + game.getScreenSize()),
                             scene->getPlayer());
    }
}

Row measure(Game& game, SceneMain* scene, int enemies, int frames) {
    setEnemies(game, scene, enemies);
    for (int i = 0; i < 20; ++i) {
        scene->update(kDt);
        game.render();
    }
    std::vector<double> update_ms, render_ms, baseline_ms;
    for (int i = 0; i < frames; ++i) {
        Uint64 start = SDL_GetTicksNS();
        scene->update(kDt);
        update_ms.push_back(msSince(start));
        drawLog().clear();
        drawLog().recording = i == frames - 1; // the last real frame is the one replayed
        start = SDL_GetTicksNS();
        game.render();
        render_ms.push_back(msSince(start));
        drawLog().recording = false;
    }
    for (int i = 0; i < frames; ++i) {
        const Uint64 start = SDL_GetTicksNS();
        replay(game.getRenderer(), drawLog());
        baseline_ms.push_back(msSince(start));
    }
    return {enemies, median(update_ms), median(render_ms), median(baseline_ms), statusKiB("VmRSS:")};
}

int table(Game& game, const std::vector<int>& counts) {
    auto* scene = new SceneMain;
    game.changeScene(scene);
    Stats* stats = scene->getPlayer()->getStats();
    stats->setInvincibleTime(1e9f);
    stats->takeDamage(0.0f);                 // the player cannot die
    scene->getSpawner()->setTarget(nullptr); // the enemy count is the benchmark's to set
    game.setMouseState({640.0f, 360.0f}, 0);
    std::vector<Row> rows;
    for (int enemies : counts)
        rows.push_back(measure(game, scene, enemies, 120));
    std::printf("Median per frame over 120 frames, software renderer, 1280 x 720\n\n");
    std::printf("| enemies | update ms | render ms | frame ms | of 16.67 ms | raw SDL ms | frame / raw SDL | "
                "update per enemy us | resident MiB |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& r : rows) {
        const double frame = r.update_ms + r.render_ms;
        const double per_enemy = r.enemies ? (r.update_ms - rows[0].update_ms) * 1000.0 / r.enemies : 0.0;
        std::printf("| %d | %.3f | %.3f | %.3f | %.0f %% | %.3f | %.2f | %s | %.1f |\n", r.enemies,
                    r.update_ms, r.render_ms, frame, 100.0 * frame / kBudgetMs, r.baseline_ms,
                    frame / r.baseline_ms, r.enemies ? (std::to_string(per_enemy).substr(0, 5)).c_str() : "-",
                    r.rss_kib / 1024.0);
    }
    std::printf("\npeak resident %.1f MiB\n", statusKiB("VmHWM:") / 1024.0);
    return 0;
}

// The title scene as the game runs it, noting when each frame's update starts.
class PacedTitle : public SceneTitle {
public:
    void update(float dt) override {
        stamps_.push_back(SDL_GetTicksNS());
        SceneTitle::update(dt);
        if (stamps_.size() > 600) game_.quit();
    }
    const std::vector<Uint64>& stamps() const { return stamps_; }

private:
    std::vector<Uint64> stamps_;
};

int pacing(Game& game) {
    auto* title = new PacedTitle;
    game.changeScene(title);
    game.run();
    std::vector<double> periods;
    const auto& stamps = title->stamps();
    for (size_t i = 1; i < stamps.size(); ++i)
        periods.push_back(static_cast<double>(stamps[i] - stamps[i - 1]) / 1e6);
    std::vector<double> sorted = periods;
    std::sort(sorted.begin(), sorted.end());
    std::printf(
        "pacing over %zu frames: median %.3f ms (budget %.3f ms), 5th percentile %.3f ms, 95th %.3f ms\n",
        periods.size(), median(periods), kBudgetMs, sorted[sorted.size() / 20],
        sorted[sorted.size() * 19 / 20]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool pace = argc > 1 && std::strcmp(argv[1], "--pacing") == 0;
    if (!pace) {
        SDL_SetHint(SDL_HINT_VIDEO_DRIVER, "dummy");
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    }
    SDL_SetHint(SDL_HINT_AUDIO_DRIVER, "dummy");
    Game& game = Game::getInstance();
    if (!game.init("Moonvale", 1280, 720)) {
        game.clean();
        return 1;
    }
    game.seed(8);
    std::vector<int> counts = {0, 100, 500, 1000, 2000, 5000};
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--enemies") == 0) counts = {std::atoi(argv[i + 1])};
    }
    const int result = pace ? pacing(game) : table(game, counts);
    game.clean();
    return result;
}
