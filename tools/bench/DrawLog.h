#pragma once
#include <SDL3/SDL.h>
#include <SDL3_ttf/SDL_ttf.h>

#include <vector>

// Every SDL drawing call the game makes, recorded while recording is on, so that exactly the same
// calls can be replayed straight to the renderer without any of the game's objects.
struct DrawCall {
    enum Kind {
        CLEAR,
        PRESENT,
        COLOR,
        COLOR_FLOAT,
        RECT,
        FILL_RECT,
        FILL_RECTS,
        LINE,
        POINTS,
        TEXTURE,
        COLOR_MOD,
        TEXT
    } kind;
    SDL_Texture* texture = nullptr;
    TTF_Text* text = nullptr;
    SDL_FRect src{}, dst{};
    float a = 0, b = 0, c = 0, d = 0; // colour, or line ends, or text position
    double angle = 0;
    SDL_FlipMode flip = SDL_FLIP_NONE;
    size_t first_point = 0, point_count = 0; // into DrawLog::points, or DrawLog::rects for FILL_RECTS
};

struct DrawLog {
    bool recording = false;
    std::vector<DrawCall> calls;
    std::vector<SDL_FPoint> points;
    std::vector<SDL_FRect> rects;
    void clear() {
        calls.clear();
        points.clear();
        rects.clear();
    }
};

DrawLog& drawLog();
// Sends the recorded calls to the renderer through SDL's own functions.
void replay(SDL_Renderer* renderer, const DrawLog& log);
