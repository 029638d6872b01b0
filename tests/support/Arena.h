#pragma once
#include "actors/Player.h"
#include "support/GameHarness.h"
#include "support/Probe.h"

#include <vector>

// A world three screens wide and high with the player in the middle, as the game sets it up,
// with the keyboard and the sounds in the test's hands.
struct ArenaTest : GameHarness {
    void SetUp() override {
        GameHarness::SetUp();
        scene = installWorldScene();
        player = new Player;
        player->init();
        player->setPosition(scene->getWorldSize() / 2.0f);
        scene->addChild(player);
    }
    // As the game's scene does: the frame's input is taken, then the world moves.
    void frame(float dt = 1.0f / 60.0f) {
        game.takeFrameInput(dt, scene->getIsPause());
        scene->update(dt);
    }
    void frames(int n, float dt = 1.0f / 60.0f) {
        for (int i = 0; i < n; ++i)
            frame(dt);
    }
    bool click(Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event event{};
        event.type = SDL_EVENT_MOUSE_BUTTON_DOWN;
        event.button.button = button;
        return scene->handleEvents(event);
    }
    template <typename T> std::vector<T*> worldOf() const {
        std::vector<T*> found;
        for (ObjectWorld* object : scene->getChildrenWorld())
            if (auto* t = dynamic_cast<T*>(object)) found.push_back(t);
        return found;
    }

    WorldScene* scene = nullptr;
    Player* player = nullptr;
};

inline constexpr const char* kHitSound = "assets/sound/hit-flesh-02-266309.mp3";
inline constexpr const char* kScream = "assets/sound/female-scream-02-89290.mp3";
inline constexpr const char* kGhostSound = "assets/sound/silly-ghost-sound-242342.mp3";
