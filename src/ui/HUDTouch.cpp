#include "ui/HUDTouch.h"

#include "core/Game.h"
#include "object/Scene.h"

#include <cmath>
#include <numbers>

namespace {

constexpr SDL_FColor kLine = {150.0f / 255.0f, 128.0f / 255.0f, 220.0f / 255.0f, 0.85f};
constexpr SDL_FColor kFill = {43.0f / 255.0f, 35.0f / 255.0f, 96.0f / 255.0f, 0.55f};
constexpr SDL_FColor kLit = {98.0f / 255.0f, 62.0f / 255.0f, 150.0f / 255.0f, 0.85f};
constexpr SDL_FColor kIdle = {150.0f / 255.0f, 128.0f / 255.0f, 220.0f / 255.0f, 0.3f};
constexpr int kSegments = 40;

glm::vec2 centreOf(const SDL_FRect& box) {
    return {box.x + box.w / 2.0f, box.y + box.h / 2.0f};
}

SDL_FColor faded(SDL_FColor color, float alpha) {
    return {color.r, color.g, color.b, alpha};
}

} // namespace

HUDTouch* HUDTouch::addHUDTouchChild(Object* parent) {
    auto* hud = new HUDTouch;
    hud->init();
    if (parent) parent->addChild(hud);
    return hud;
}

void HUDTouch::render() {
    if (!game_.isTouchLastUsed()) return;
    const TouchMode mode = game_.getCurrentScene()->touchMode();
    if (mode == TouchMode::MENU) return;
    SDL_Renderer* renderer = game_.getRenderer();
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    const TouchLayout& layout = game_.getTouch().getLayout();
    const SDL_FRect& pause = layout.pause;
    renderButton(pause, false);
    const glm::vec2 centre = centreOf(pause);
    const float unit = pause.w / 8.0f;
    if (mode == TouchMode::PAUSED) {
        // Resume: a triangle pointing right.
        triangle(centre + glm::vec2(-unit, -1.5f * unit), centre + glm::vec2(-unit, 1.5f * unit),
                 centre + glm::vec2(1.6f * unit, 0.0f), kLine);
    } else {
        const SDL_FRect bars[] = {{centre.x - 1.4f * unit, centre.y - 1.5f * unit, unit, 3.0f * unit},
                                  {centre.x + 0.4f * unit, centre.y - 1.5f * unit, unit, 3.0f * unit}};
        SDL_SetRenderDrawColorFloat(renderer, kLine.r, kLine.g, kLine.b, kLine.a);
        SDL_RenderFillRects(renderer, bars, 2);
        renderButton(layout.slow, game_.getTouch().isSlowHeld());
        // Slow motion: an hourglass.
        const glm::vec2 middle = centreOf(layout.slow);
        const float half = layout.slow.w / 8.0f;
        triangle(middle + glm::vec2(-1.2f * half, -1.8f * half),
                 middle + glm::vec2(1.2f * half, -1.8f * half), middle, kLine);
        triangle(middle, middle + glm::vec2(1.2f * half, 1.8f * half),
                 middle + glm::vec2(-1.2f * half, 1.8f * half), kLine);
        renderStick();
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

void HUDTouch::renderStick() {
    const TouchLayout& layout = game_.getTouch().getLayout();
    const float radius = layout.stick_radius;
    const auto stick = game_.getTouch().getStick();
    if (!stick) {
        ring(layout.stick_home, radius - 4.0f, radius, kIdle);
        ring(layout.stick_home, 0.0f, radius * 0.4f, faded(kIdle, 0.2f));
        return;
    }
    const auto [anchor, thumb] = *stick;
    ring(anchor, 0.0f, radius, kFill);
    ring(anchor, radius - 4.0f, radius, kLine);
    ring(thumb, 0.0f, radius * 0.4f, kLit);
}

void HUDTouch::renderButton(const SDL_FRect& box, bool lit) {
    const float radius = box.w / 2.0f;
    ring(centreOf(box), 0.0f, radius, lit ? kLit : kFill);
    ring(centreOf(box), radius - 4.0f, radius, kLine);
}

void HUDTouch::ring(glm::vec2 centre, float inner, float outer, SDL_FColor color) {
    vertices_.clear();
    const auto at = [&](int i, float r) {
        const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / kSegments;
        return SDL_Vertex{
            {centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)}, color, {0.0f, 0.0f}};
    };
    for (int i = 0; i < kSegments; ++i) {
        const SDL_Vertex a = at(i, outer);
        const SDL_Vertex b = at(i + 1, outer);
        const SDL_Vertex c = at(i, inner);
        const SDL_Vertex d = at(i + 1, inner);
        vertices_.insert(vertices_.end(), {a, b, c});
        if (inner > 0.0f) vertices_.insert(vertices_.end(), {b, d, c});
    }
    SDL_RenderGeometry(game_.getRenderer(), nullptr, vertices_.data(), static_cast<int>(vertices_.size()),
                       nullptr, 0);
}

void HUDTouch::triangle(glm::vec2 a, glm::vec2 b, glm::vec2 c, SDL_FColor color) {
    const SDL_Vertex corners[] = {{{a.x, a.y}, color, {0.0f, 0.0f}},
                                  {{b.x, b.y}, color, {0.0f, 0.0f}},
                                  {{c.x, c.y}, color, {0.0f, 0.0f}}};
    SDL_RenderGeometry(game_.getRenderer(), nullptr, corners, 3, nullptr, 0);
}
