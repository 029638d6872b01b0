#pragma once
#include <SDL3/SDL_stdinc.h>

// Which of nine points of an attached object's box sits on its parent's position.
enum class Anchor : Sint32 {
    NONE = 0,
    TOP_LEFT = 1,
    TOP_CENTER = 2,
    TOP_RIGHT = 3,
    CENTER_LEFT = 4,
    CENTER = 5,
    CENTER_RIGHT = 6,
    BOTTOM_LEFT = 7,
    BOTTOM_CENTER = 8,
    BOTTOM_RIGHT = 9,
};
