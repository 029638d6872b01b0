#include "components/AffiliateBar.h"

#include "core/Game.h"
#include "object/ObjectScreen.h"

AffiliateBar* AffiliateBar::addAffiliateBarChild(ObjectScreen* parent, glm::vec2 size, Anchor anchor) {
    auto* bar = new AffiliateBar;
    bar->init();
    bar->setAnchor(anchor);
    bar->setSize(size);
    if (parent) {
        bar->setParent(parent);
        parent->addChild(bar);
    }
    return bar;
}

SDL_FColor AffiliateBar::getColor() const {
    if (percent_ > 0.7f) return color_high_;
    if (percent_ > 0.3f) return color_mid_;
    return color_low_;
}

void AffiliateBar::render() {
    game_.renderHBar(getScreenPosition(), size_, percent_, getColor());
}
