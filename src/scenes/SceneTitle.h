#pragma once
#include "object/Scene.h"

// The first scene: the title screen.
class SceneTitle : public Scene {
public:
    void init() override;
};
