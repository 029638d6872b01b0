#include "Scenario.h"

#include "actors/Enemy.h"
#include "actors/Player.h"
#include "actors/Spawner.h"
#include "components/Stats.h"
#include "core/Game.h"
#include "scenes/SceneMain.h"

SceneMain* startBenchScene(Game& game) {
    auto* scene = new SceneMain; // owned by the game once changed to
    game.changeScene(scene);
    Stats* stats = scene->getPlayer()->getStats();
    stats->setInvincibleTime(1e9f);
    stats->takeDamage(0.0f);                 // the player cannot die
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
