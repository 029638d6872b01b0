#pragma once
#include <SDL3/SDL.h>

#include <string>

// An image region and how to draw it; borrows the image from the asset store.
struct Texture {
    Texture() = default;
    explicit Texture(const std::string& file_path);

    SDL_Texture* texture = nullptr; // owned by the asset store
    SDL_FRect src_rect = {0.0f, 0.0f, 0.0f, 0.0f};
    float angle = 0.0f;
    bool is_flip = false;
    float alpha = 1.0f; // below 1, drawn see-through
};
