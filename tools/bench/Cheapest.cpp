#include "Cheapest.h"

#include <algorithm>
#include <cmath>

namespace {

// The pixels of a one-pixel line on the same row or column, as SDL's software renderer covers them.
SDL_FRect lineBox(float x1, float y1, float x2, float y2) {
    const float left = std::trunc(std::min(x1, x2));
    const float top = std::trunc(std::min(y1, y2));
    return {left, top, std::trunc(std::max(x1, x2) + 1.0f) - left, std::trunc(std::max(y1, y2) + 1.0f) - top};
}

// The pixels a filled rectangle covers on the software renderer: its corner and size truncated.
bool covers(const SDL_FRect& outer, const SDL_FRect& inner) {
    const float ox = std::trunc(outer.x), oy = std::trunc(outer.y);
    const float ix = std::trunc(inner.x), iy = std::trunc(inner.y);
    return ix >= ox && iy >= oy && ix + std::trunc(inner.w) <= ox + std::trunc(outer.w) &&
           iy + std::trunc(inner.h) <= oy + std::trunc(outer.h);
}

bool sameColor(SDL_FColor a, SDL_FColor b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

} // namespace

CheapestPicture::CheapestPicture(SDL_Renderer* renderer, const DrawLog& log)
    : renderer_(renderer), software_(SDL_strcmp(SDL_GetRendererName(renderer), SDL_SOFTWARE_RENDERER) == 0) {
    std::map<SDL_Texture*, SDL_FColor> mods;
    for (const DrawCall& c : log.calls) {
        switch (c.kind) {
        case DrawCall::CLEAR:
            ops_.push_back({Op::CLEAR, color_});
            sent_ = color_;
            color_sent_ = true;
            break;
        case DrawCall::PRESENT:
            ops_.push_back({Op::PRESENT});
            break;
        case DrawCall::COLOR:
            color_ = {c.a / 255.0f, c.b / 255.0f, c.c / 255.0f, c.d / 255.0f};
            break;
        case DrawCall::COLOR_FLOAT:
            color_ = {c.a, c.b, c.c, c.d};
            break;
        case DrawCall::RECT: {
            const SDL_FRect& r = c.dst;
            const float right = r.x + r.w - 1.0f, bottom = r.y + r.h - 1.0f;
            const SDL_FRect sides[4] = {lineBox(r.x, r.y, right, r.y), lineBox(right, r.y, right, bottom),
                                        lineBox(r.x, bottom, right, bottom), lineBox(r.x, r.y, r.x, bottom)};
            addFills(sides, 4);
            break;
        }
        case DrawCall::FILL_RECT:
            addFills(&c.dst, 1);
            break;
        case DrawCall::FILL_RECTS:
            addFills(log.rects.data() + c.first_point, c.point_count);
            break;
        case DrawCall::LINE: {
            const SDL_FRect box = lineBox(c.a, c.b, c.c, c.d);
            addFills(&box, 1);
            break;
        }
        case DrawCall::POINTS:
            setColor(color_);
            ops_.push_back({Op::POINTS, color_, points_.size(), c.point_count});
            points_.insert(points_.end(), log.points.begin() + static_cast<long>(c.first_point),
                           log.points.begin() + static_cast<long>(c.first_point + c.point_count));
            break;
        case DrawCall::TEXTURE: {
            const auto mod = mods.find(c.texture);
            addTexture(c, mod == mods.end() ? SDL_FColor{1.0f, 1.0f, 1.0f, 1.0f} : mod->second);
            break;
        }
        case DrawCall::COLOR_MOD:
            mods[c.texture] = {c.a, c.b, c.c, 1.0f};
            break;
        case DrawCall::TEXT: {
            Op op{Op::TEXT};
            op.text = c.text;
            op.dst = {c.a, c.b, 0.0f, 0.0f};
            ops_.push_back(op);
            break;
        }
        }
    }
}

CheapestPicture::~CheapestPicture() {
    for (auto& [key, texture] : enlarged_)
        SDL_DestroyTexture(texture);
}

void CheapestPicture::setColor(SDL_FColor color) {
    if (color_sent_ && sameColor(sent_, color)) return;
    ops_.push_back({Op::COLOR, color});
    sent_ = color;
    color_sent_ = true;
}

void CheapestPicture::addFills(const SDL_FRect* rects, size_t count) {
    // A run of fills in one colour, with nothing drawn between, is one call.
    const bool extend =
        !ops_.empty() && ops_.back().kind == Op::FILLS && sameColor(ops_.back().color, color_);
    if (!extend) {
        setColor(color_);
        ops_.push_back({Op::FILLS, color_, rects_.size(), 0});
    }
    // Opaque fills in one colour may come in any order: a rectangle inside a neighbour of the same
    // run adds no pixel (an outline inside a full bar's fill), so it is left out.
    Op& run = ops_.back();
    for (size_t i = 0; i < count; ++i) {
        const size_t window = std::min<size_t>(run.count, 8);
        const auto near = rects_.end() - static_cast<long>(window);
        if (color_.a >= 1.0f &&
            std::any_of(near, rects_.end(), [&](const SDL_FRect& r) { return covers(r, rects[i]); })) {
            continue;
        }
        if (color_.a >= 1.0f) {
            const auto kept =
                std::remove_if(near, rects_.end(), [&](const SDL_FRect& r) { return covers(rects[i], r); });
            run.count -= static_cast<size_t>(rects_.end() - kept);
            rects_.erase(kept, rects_.end());
        }
        rects_.push_back(rects[i]);
        ++run.count;
    }
}

void CheapestPicture::addTexture(const DrawCall& c, SDL_FColor mod) {
    Op op{Op::TEXTURE};
    op.texture = c.texture;
    op.src = c.src;
    op.dst = c.dst;
    op.flip = c.flip;
    op.mod = mod;
    // On the software renderer a region blits fastest from a texture that holds it alone, unscaled:
    // scaling has no fast path, and a run-length blit walks every run left of the part drawn.
    const float factor = c.src.w > 0.0f ? c.dst.w / c.src.w : 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    SDL_GetTextureSize(c.texture, &w, &h);
    const bool part = c.src.x != 0.0f || c.src.y != 0.0f || c.src.w != w || c.src.h != h;
    const bool whole_factor = factor >= 1.0f && factor == std::floor(factor) && c.dst.h == c.src.h * factor;
    if (software_ && c.angle == 0.0 && whole_factor && (part || factor > 1.0f)) {
        if (SDL_Texture* large = enlarged(c.texture, c.src, static_cast<int>(factor))) {
            op.texture = large;
            op.src = {0.0f, 0.0f, c.dst.w, c.dst.h};
        }
    }
    ops_.push_back(op);
}

// The region enlarged into a texture made from a surface, so the software renderer keeps it
// run-length encoded like any loaded picture.
SDL_Texture* CheapestPicture::enlarged(SDL_Texture* texture, const SDL_FRect& region, int factor) {
    const auto key = std::make_tuple(texture, static_cast<int>(region.x), static_cast<int>(region.y),
                                     static_cast<int>(region.w), static_cast<int>(region.h), factor);
    if (const auto it = enlarged_.find(key); it != enlarged_.end()) return it->second;
    const int w = static_cast<int>(region.w) * factor;
    const int h = static_cast<int>(region.h) * factor;
    SDL_Texture* target =
        SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
    SDL_Texture* result = nullptr;
    if (target) {
        SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
        SDL_ScaleMode scale = SDL_SCALEMODE_NEAREST;
        SDL_GetTextureBlendMode(texture, &blend);
        SDL_GetTextureScaleMode(texture, &scale);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(texture, SDL_SCALEMODE_NEAREST);
        SDL_Texture* previous = SDL_GetRenderTarget(renderer_);
        SDL_SetRenderTarget(renderer_, target);
        SDL_RenderTexture(renderer_, texture, &region, nullptr);
        SDL_Surface* pixels = SDL_RenderReadPixels(renderer_, nullptr);
        SDL_SetRenderTarget(renderer_, previous);
        SDL_SetTextureBlendMode(texture, blend);
        SDL_SetTextureScaleMode(texture, scale);
        if (pixels) {
            result = SDL_CreateTextureFromSurface(renderer_, pixels);
            SDL_DestroySurface(pixels);
        }
        SDL_DestroyTexture(target);
    }
    enlarged_[key] = result;
    return result;
}

void CheapestPicture::draw(bool present) const {
    for (const Op& op : ops_) {
        switch (op.kind) {
        case Op::CLEAR:
            SDL_SetRenderDrawColorFloat(renderer_, op.color.r, op.color.g, op.color.b, op.color.a);
            SDL_RenderClear(renderer_);
            break;
        case Op::PRESENT:
            if (present) SDL_RenderPresent(renderer_);
            break;
        case Op::COLOR:
            SDL_SetRenderDrawColorFloat(renderer_, op.color.r, op.color.g, op.color.b, op.color.a);
            break;
        case Op::FILLS:
            SDL_RenderFillRects(renderer_, rects_.data() + op.first, static_cast<int>(op.count));
            break;
        case Op::POINTS:
            SDL_RenderPoints(renderer_, points_.data() + op.first, static_cast<int>(op.count));
            break;
        case Op::TEXTURE:
            SDL_SetTextureColorModFloat(op.texture, op.mod.r, op.mod.g, op.mod.b);
            SDL_RenderTextureRotated(renderer_, op.texture, &op.src, &op.dst, 0.0, nullptr, op.flip);
            break;
        case Op::TEXT:
            TTF_DrawRendererText(op.text, op.dst.x, op.dst.y);
            break;
        }
    }
}
