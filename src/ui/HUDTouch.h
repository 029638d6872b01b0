#pragma once
#include "object/ObjectScreen.h"

#include <SDL3/SDL.h>

#include <vector>

// The touch controls over a game, shown while a finger was the last input: the stick where the left
// thumb is (or a faint one where it will be), the slow-motion button and the pause button, which
// resumes a paused game.
class HUDTouch : public ObjectScreen {
public:
    static HUDTouch* addHUDTouchChild(Object* parent);
    void render() override;

private:
    void renderStick();
    void renderButton(const SDL_FRect& box, bool lit);
    // A band between two circles round centre; inner 0 fills the circle.
    void ring(glm::vec2 centre, float inner, float outer, SDL_FColor color);
    void triangle(glm::vec2 a, glm::vec2 b, glm::vec2 c, SDL_FColor color);

    std::vector<SDL_Vertex> vertices_; // scratch, kept to avoid a per-frame allocation
};
