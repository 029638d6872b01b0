#pragma once
#include "DrawLog.h"

#include <SDL3/SDL.h>
#include <SDL3_ttf/SDL_ttf.h>

#include <map>
#include <tuple>
#include <vector>

// The picture of one recorded frame, drawn again in the cheapest SDL calls known for the renderer at
// hand, with none of the game's code: what the frame shows (textures and their regions, rectangles,
// lines, points, text, in order) is taken from the log; how it is drawn is decided here.
// - software renderer: every region drawn enlarged gets a texture of its own, enlarged once and
//   blitted 1:1; rectangles and one-pixel lines become filled rectangles, and every run of them in
//   one colour is one call;
// - GPU renderers: sheets are drawn as they are (the GPU scales for free), with the same merging.
class CheapestPicture {
public:
    CheapestPicture(SDL_Renderer* renderer, const DrawLog& log);
    CheapestPicture(const CheapestPicture&) = delete;
    CheapestPicture& operator=(const CheapestPicture&) = delete;
    ~CheapestPicture();

    // present: false leaves the frame in the renderer, to be read back.
    void draw(bool present = true) const;

private:
    struct Op {
        enum Kind { CLEAR, PRESENT, COLOR, FILLS, POINTS, TEXTURE, TEXT } kind;
        SDL_FColor color{};
        size_t first = 0, count = 0; // into rects_ or points_
        SDL_Texture* texture = nullptr;
        SDL_FRect src{}, dst{};
        SDL_FlipMode flip = SDL_FLIP_NONE;
        SDL_FColor mod{1.0f, 1.0f, 1.0f, 1.0f};
        TTF_Text* text = nullptr;
    };
    void setColor(SDL_FColor color);
    void addFills(const SDL_FRect* rects, size_t count);
    void addTexture(const DrawCall& call, SDL_FColor mod);
    SDL_Texture* enlarged(SDL_Texture* texture, const SDL_FRect& region, int factor);

    SDL_Renderer* renderer_;
    bool software_;
    std::vector<Op> ops_;
    std::vector<SDL_FRect> rects_;
    std::vector<SDL_FPoint> points_;
    SDL_FColor color_{0.0f, 0.0f, 0.0f, 1.0f}; // the draw colour the game had set at this point
    SDL_FColor sent_{};                        // the draw colour our calls have set
    bool color_sent_ = false;
    std::map<std::tuple<SDL_Texture*, int, int, int, int, int>, SDL_Texture*> enlarged_; // ours
};
