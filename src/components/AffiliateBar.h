#pragma once
#include "object/ObjectAffiliate.h"

#include <SDL3/SDL.h>

// A bar over its parent showing a fraction, green down to 0.7, orange down to 0.3, red below.
class AffiliateBar : public ObjectAffiliate {
public:
    static AffiliateBar* addAffiliateBarChild(ObjectScreen* parent, glm::vec2 size, Anchor anchor);
    void render() override;

    void setPercent(float percent) { percent_ = percent; }
    float getPercent() const { return percent_; }
    SDL_FColor getColor() const;

private:
    float percent_ = 1.0f;
    SDL_FColor color_high_ = {0.0f, 1.0f, 0.0f, 1.0f};
    SDL_FColor color_mid_ = {1.0f, 0.65f, 0.0f, 1.0f};
    SDL_FColor color_low_ = {1.0f, 0.0f, 0.0f, 1.0f};
};
