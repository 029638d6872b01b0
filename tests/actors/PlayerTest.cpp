#include "actors/Player.h"

#include "components/Effect.h"
#include "components/SpriteAnim.h"
#include "components/Stats.h"
#include "support/Arena.h"
#include "support/TestFiles.h"

namespace {

using PlayerTest = ArenaTest;

TEST_F(PlayerTest, OpposingKeysResolveDownAndRight) {
    const glm::vec2 start = player->getPosition();
    keys[SDL_SCANCODE_W] = keys[SDL_SCANCODE_S] = true;
    keys[SDL_SCANCODE_A] = keys[SDL_SCANCODE_D] = true;
    frame();
    EXPECT_EQ(player->getVelocity(), glm::vec2(450.0f, 450.0f));
    EXPECT_GT(player->getPosition().x, start.x);
    EXPECT_GT(player->getPosition().y, start.y);
}

TEST_F(PlayerTest, DiagonalIsNotNormalised) {
    keys[SDL_SCANCODE_W] = keys[SDL_SCANCODE_D] = true;
    const glm::vec2 start = player->getPosition();
    frame();
    EXPECT_EQ(player->getVelocity(), glm::vec2(450.0f, -450.0f));
    EXPECT_NEAR(player->getPosition().x - start.x, 7.5f, 1e-3f);
    EXPECT_NEAR(start.y - player->getPosition().y, 7.5f, 1e-3f);
}

TEST_F(PlayerTest, ReleaseGlidesToAStopAndIdleTakesOverTheAnimationPhase) {
    keys[SDL_SCANCODE_A] = true;
    frames(20);
    EXPECT_TRUE(player->getIsMoving());
    EXPECT_TRUE(player->getSpriteMove()->getIsActive());
    EXPECT_TRUE(player->getSpriteMove()->getTexture().is_flip);
    keys[SDL_SCANCODE_A] = false;
    int glide = 0;
    while (player->getIsMoving() && glide < 500) {
        const glm::vec2 before = player->getPosition();
        frame();
        ++glide;
        EXPECT_LT(player->getPosition().x, before.x); // still gliding left
        if (!player->getIsMoving()) {
            // The moving animation hands its frame and timer over to the idle one.
            SpriteAnim* idle = player->getSpriteIdle();
            EXPECT_TRUE(idle->getIsActive());
            EXPECT_FALSE(player->getSpriteMove()->getIsActive());
            EXPECT_EQ(idle->getCurrentFrame(), player->getSpriteMove()->getCurrentFrame());
            EXPECT_EQ(idle->getFrameTimer(), player->getSpriteMove()->getFrameTimer());
        }
    }
    EXPECT_GT(glide, 60);
    EXPECT_LT(glide, 100);
    EXPECT_TRUE(player->getSpriteIdle()->getTexture().is_flip); // x velocity still (barely) negative
}

TEST_F(PlayerTest, StopsExactlyAtTheWorldEdges) {
    player->setPosition({2.0f, 2.0f});
    keys[SDL_SCANCODE_W] = keys[SDL_SCANCODE_A] = true;
    frames(5);
    EXPECT_EQ(player->getPosition(), glm::vec2(0.0f, 0.0f));
    keys = {};
    keys[SDL_SCANCODE_S] = keys[SDL_SCANCODE_D] = true;
    frames(600);
    EXPECT_EQ(player->getPosition(), glm::vec2(3840.0f, 2160.0f));
}

TEST_F(PlayerTest, CameraKeepsThePlayerCentredUntilTheWorldRunsOut) {
    frame();
    EXPECT_EQ(scene->getCameraPosition(), player->getPosition() - glm::vec2(640.0f, 360.0f));
    player->setPosition({100.0f, 2100.0f});
    frame();
    EXPECT_EQ(scene->getCameraPosition(), glm::vec2(-30.0f, 1470.0f));
}

TEST_F(PlayerTest, AcceptsOneHitPerInvincibilityAndBlinks) {
    player->takeDamage(40.0f);
    player->takeDamage(40.0f);
    EXPECT_EQ(player->getStats()->getHealth(), 60.0f);
    EXPECT_EQ(played(kHitSound), 1);
    // Hidden in the first half of each 0.4 s flash period while invincible.
    SDL_Renderer* renderer = game.getRenderer();
    int shown = 0;
    for (int i = 0; i < 24; ++i) {
        SDL_RenderClear(renderer);
        frame();
        scene->render();
        const glm::vec2 p = player->getRenderPosition();
        shown += countLit(renderer, {static_cast<int>(p.x) - 20, static_cast<int>(p.y) - 20, 40, 40}) > 0;
    }
    EXPECT_GT(shown, 6);
    EXPECT_LT(shown, 18);
}

TEST_F(PlayerTest, DiesExactlyOnceOnTheThirdHit) {
    for (int hit = 0; hit < 3; ++hit) {
        player->takeDamage(40.0f);
        frames(91); // past the 1.5 s of invincibility
    }
    EXPECT_FALSE(player->getIsActive());
    EXPECT_EQ(player->getStats()->getHealth(), 0.0f);
    EXPECT_EQ(played(kScream), 1);
    EXPECT_EQ(played(kHitSound), 3);
    const glm::vec2 camera = scene->getCameraPosition();
    frames(3);
    EXPECT_EQ(played(kScream), 1);
    EXPECT_EQ(scene->getCameraPosition(), camera);
}

TEST_F(PlayerTest, DeathEffectAppearsWhereThePlayerDied) {
    player->setPosition({700.0f, 800.0f});
    Effect* effect = player->getDeathEffect();
    player->takeDamage(150.0f);
    frame(); // the player dies in this update and queues its effect
    frame(); // the effect joins the scene
    const auto effects = worldOf<Effect>();
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0], effect);
    EXPECT_EQ(effect->getPosition(), glm::vec2(700.0f, 800.0f));
    EXPECT_EQ(effect->getSprite()->getSize(), glm::vec2(128.0f)); // scale 2
}

TEST_F(PlayerTest, PlayerThatNeverDiedTakesItsDeathEffectWithIt) {
    const long before = Object::getLiveCount();
    auto* other = new Player;
    other->init();
    EXPECT_GT(Object::getLiveCount(), before);
    other->clean();
    delete other;
    // The skill icon it created lives on in the scene, as the game's does.
    EXPECT_EQ(Object::getLiveCount(), before + 2);
}

} // namespace
