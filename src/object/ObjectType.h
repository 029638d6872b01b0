#pragma once
#include <SDL3/SDL_stdinc.h>

// Tells a scene which of its lists an object belongs in.
enum class ObjectType : Sint32 {
    NONE = 0,
    OBJECT_SCREEN = 1,
    OBJECT_WORLD = 2,
    ENEMY = 3,
};
