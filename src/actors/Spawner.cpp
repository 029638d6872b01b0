#include "actors/Spawner.h"

#include "actors/Enemy.h"
#include "actors/Player.h"
#include "components/Effect.h"
#include "core/Game.h"
#include "object/Scene.h"

void Spawner::update(float dt) {
    if (!target_ || !target_->getIsActive()) return;
    timer_ += dt;
    if (timer_ < interval_) return;
    timer_ = 0.0f; // the surplus is dropped: waves come every interval plus at most a frame
    spawnWave();
}

// Each enemy waits inside its summoning circle and enters the scene when the circle is done.
void Spawner::spawnWave() {
    game_.playSound("assets/sound/silly-ghost-sound-242342.mp3");
    Scene* scene = game_.getCurrentScene();
    for (int i = 0; i < num_; ++i) {
        const glm::vec2 camera = scene->getCameraPosition();
        const glm::vec2 position = game_.randomVec2(camera, camera + game_.getScreenSize());
        Enemy* enemy = Enemy::addEnemyChild(nullptr, position, target_);
        Effect::addEffectChild(scene, "assets/effect/184_3.png", position, 1.0f, enemy);
    }
}
