#include "core/Graphics.h"

#include "assets/AssetStore.h"
#include "components/Texture.h"
#include "shell/Platform.h"
#include "shell/RendererChoice.h"

#include <algorithm>
#include <cmath>

namespace {

void resetDrawColor(SDL_Renderer* renderer) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
}

// The pixels a one-pixel SDL line between two points on the same row or column covers on the
// software renderer (a square at each end and the band between, each corner truncated), as one
// rectangle. Filled rectangles cost a fraction of the triangles SDL makes of lines.
SDL_FRect lineBox(float x1, float y1, float x2, float y2) {
    const float left = std::trunc(std::min(x1, x2));
    const float top = std::trunc(std::min(y1, y2));
    return {left, top, std::trunc(std::max(x1, x2) + 1.0f) - left, std::trunc(std::max(y1, y2) + 1.0f) - top};
}

// The four sides of what SDL_RenderRect draws for rect.
void appendOutline(const SDL_FRect& rect, std::vector<SDL_FRect>& out) {
    const float right = rect.x + rect.w - 1.0f;
    const float bottom = rect.y + rect.h - 1.0f;
    out.push_back(lineBox(rect.x, rect.y, right, rect.y));
    out.push_back(lineBox(right, rect.y, right, bottom));
    out.push_back(lineBox(rect.x, bottom, right, bottom));
    out.push_back(lineBox(rect.x, rect.y, rect.x, bottom));
}

// A phone's browser shows a CSS pixel as three of its own: a canvas sized in CSS pixels is drawn small
// and enlarged, blurred. With WebGL the canvas takes the screen's own pixels and the frame is enlarged
// into them; SDL's software renderer would pay for every one of them, so it keeps CSS pixels.
SDL_WindowFlags pixelDensityFlag() {
#ifdef __EMSCRIPTEN__
    const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    // OpenGL from the start: SDL would otherwise make the window again for WebGL, and a window made again
    // loses the page's sizing of the canvas.
    if (!chosen || SDL_strcmp(chosen, SDL_SOFTWARE_RENDERER) != 0)
        return SDL_WINDOW_HIGH_PIXEL_DENSITY | SDL_WINDOW_OPENGL;
#endif
    return 0;
}

} // namespace

bool Graphics::open(const std::string& title, int width, int height) {
    screen_size_ = glm::vec2(width, height);
    const bool chosen_by_user = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    const char* software_reason = reasonToDrawInSoftware();
    // Asking OpenGL what it runs on needs its window; hidden, as it may have to be made again without it.
    const bool probe = !chosen_by_user && !software_reason;
    const bool created =
        !chosen_by_user && software_reason
            ? createSoftwareWindow(title, width, height, software_reason)
            : SDL_CreateWindowAndRenderer(title.c_str(), width, height,
                                          SDL_WINDOW_RESIZABLE | (probe ? SDL_WINDOW_HIDDEN : 0) |
                                              pixelDensityFlag(),
                                          &window_, &renderer_) &&
                  chooseRenderer(title, width, height, chosen_by_user);
    if (!created || !window_ || !renderer_) {
        SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "创建窗口或渲染器失败: %s\n", SDL_GetError());
        // Nothing could ever be seen: running the loop would only hang with no window.
        return false;
    }
    if (probe) SDL_ShowWindow(window_);
#ifndef __EMSCRIPTEN__
    // Half size: below it the words of the 16 px font cannot be read. (A page shapes a browser's canvas.)
    SDL_SetWindowMinimumSize(window_, width / 2, height / 2);
#endif
    SDL_SetRenderLogicalPresentation(renderer_, width, height, SDL_LOGICAL_PRESENTATION_LETTERBOX);
    // The art is pixel art drawn at 2x to 4x: keep its pixels square and sharp instead of blurred.
    SDL_SetDefaultTextureScaleMode(renderer_, SDL_SCALEMODE_PIXELART);
    is_software_renderer_ = SDL_strcmp(SDL_GetRendererName(renderer_), SDL_SOFTWARE_RENDERER) == 0;
    return true;
}

void Graphics::clean() {
    for (SDL_Texture** target : {&frame_target_, &half_target_}) {
        if (*target) SDL_DestroyTexture(*target);
        *target = nullptr;
    }
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
}

bool Graphics::chooseRenderer(const std::string& title, int width, int height, bool chosen_by_user) {
    const std::string picked = SDL_GetRendererName(renderer_);
    const std::string gl_renderer = glRendererOf(renderer_);
    if (!preferSoftwareRenderer(picked, gl_renderer, chosen_by_user)) {
        SDL_Log("Renderer: %s%s%s", picked.c_str(), gl_renderer.empty() ? "" : " on ", gl_renderer.c_str());
        return true;
    }
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
    giveCanvasBackToPage();
    return createSoftwareWindow(title, width, height,
                                "OpenGL here is " + gl_renderer + ", a software rasteriser");
}

// A window without OpenGL and SDL's software renderer, whose picture SDL hands straight to the window
// system: by default it would present it through OpenGL, which here is software too.
bool Graphics::createSoftwareWindow(const std::string& title, int width, int height, const std::string& why) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    window_ = SDL_CreateWindow(title.c_str(), width, height, SDL_WINDOW_RESIZABLE);
    if (window_) renderer_ = SDL_CreateRenderer(window_, SDL_SOFTWARE_RENDERER);
    if (!renderer_) return false;
    SDL_Log("Renderer: software, not OpenGL: %s, and SDL's own software renderer draws this game faster",
            why.c_str());
    return true;
}

// At any scale but 1 the frame is drawn 1:1 into a texture and only that is scaled to the window. Drawn
// straight, thin lines, points and one-pixel letter strokes fall between the output's pixels below scale
// 1 (the software renderer drops them outright), and SDL 3.4's software renderer loses the pixels of a
// run-length-encoded picture (and leaks them) when one is drawn scaled and clipped by the black bars.
// Shrunk, the frame is filtered so that every line and letter still leaves its mark; below half size it
// is halved first, since one bilinear step would skip whole rows.
void Graphics::beginFrame() {
    SDL_Texture* frame = frameTarget();
    if (frame) SDL_SetRenderTarget(renderer_, frame);
    resetDrawColor(renderer_);
    SDL_RenderClear(renderer_);
}

void Graphics::endFrame() {
    if (SDL_Texture* frame = SDL_GetRenderTarget(renderer_)) {
        if (frame_scale_ < 0.5f && half_target_) {
            SDL_SetRenderTarget(renderer_, half_target_);
            SDL_RenderTexture(renderer_, frame, nullptr, nullptr);
            frame = half_target_;
        }
        SDL_SetRenderTarget(renderer_, nullptr);
        resetDrawColor(renderer_);
        SDL_RenderClear(renderer_);
        SDL_RenderTexture(renderer_, frame, nullptr, nullptr);
    }
    SDL_RenderPresent(renderer_);
}

SDL_Texture* Graphics::frameTarget() {
    if (no_frame_target_) return nullptr;
    int w = 0;
    int h = 0;
    if (!SDL_GetCurrentRenderOutputSize(renderer_, &w, &h)) return nullptr;
    frame_scale_ = std::min(static_cast<float>(w) / screen_size_.x, static_cast<float>(h) / screen_size_.y);
    if (frame_scale_ == 1.0f) return nullptr;
    const auto make = [this](int width, int height) {
        SDL_Texture* texture =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
        if (texture) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        return texture;
    };
    const int frame_w = static_cast<int>(screen_size_.x);
    const int frame_h = static_cast<int>(screen_size_.y);
    if (!frame_target_) frame_target_ = make(frame_w, frame_h);
    if (frame_target_ && frame_scale_ < 0.5f && !half_target_) {
        half_target_ = make(frame_w / 2, frame_h / 2);
        if (half_target_) SDL_SetTextureScaleMode(half_target_, SDL_SCALEMODE_LINEAR);
    }
    if (!frame_target_) {
        SDL_Log("Cannot make the frame's texture, drawing straight to the window: %s", SDL_GetError());
        no_frame_target_ = true; // asked once, not every frame
        return nullptr;
    }
    SDL_SetTextureScaleMode(frame_target_,
                            frame_scale_ < 1.0f ? SDL_SCALEMODE_LINEAR : SDL_SCALEMODE_PIXELART);
    return frame_target_;
}

// SDL re-applies the window size whenever the ratio is set, a window-system round trip: set it only
// when it is not already in force, not on every frame.
void Graphics::lockAspectRatio() {
#ifdef __EMSCRIPTEN__
    // The page shapes a browser's canvas; SDL would force the drawing buffer to 16:9 inside it instead,
    // which the page then stretches.
    return;
#endif
    const float ratio = screen_size_.x / screen_size_.y;
    float min_aspect = 0.0f;
    float max_aspect = 0.0f;
    SDL_GetWindowAspectRatio(window_, &min_aspect, &max_aspect);
    if (min_aspect != ratio || max_aspect != ratio) SDL_SetWindowAspectRatio(window_, ratio, ratio);
}

void Graphics::renderTexture(const Texture& texture, glm::vec2 position, glm::vec2 size, glm::vec2 mask) {
    const SDL_FRect& r = texture.src_rect;
    SDL_FRect src = {r.x, r.y + r.h * (1.0f - mask.y), r.w * mask.x, r.h * mask.y};
    const SDL_FRect dst = {position.x, position.y + size.y * (1.0f - mask.y), size.x * mask.x,
                           size.y * mask.y};
    SDL_Texture* image = texture.texture;
    // Pixel art drawn at a whole multiple of its size: draw a copy enlarged once instead, 1:1, which
    // looks the same and costs less on every renderer. The software renderer gets the frame alone (its
    // run-length blit walks every run left of the part drawn); GPU renderers keep one texture per sheet,
    // because switching textures breaks their batches.
    const float factor = src.w > 0.0f ? dst.w / src.w : 0.0f;
    SDL_Rect region = {static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w),
                       static_cast<int>(r.h)};
    const bool whole_pixels = static_cast<float>(region.x) == r.x && static_cast<float>(region.y) == r.y &&
                              static_cast<float>(region.w) == r.w && static_cast<float>(region.h) == r.h;
    float sheet_w = 0.0f;
    float sheet_h = 0.0f;
    if (!is_software_renderer_ && image && SDL_GetTextureSize(image, &sheet_w, &sheet_h)) {
        region = {0, 0, static_cast<int>(sheet_w), static_cast<int>(sheet_h)};
    }
    if (image && factor >= 2.0f && factor <= 8.0f && factor == std::floor(factor) &&
        dst.h == src.h * factor && whole_pixels && assets_) {
        if (SDL_Texture* large = assets_->getScaledRegion(image, region, static_cast<int>(factor))) {
            float cr = 1.0f, cg = 1.0f, cb = 1.0f;
            SDL_GetTextureColorModFloat(image, &cr, &cg, &cb);
            SDL_SetTextureColorModFloat(large, cr, cg, cb);
            src = {(src.x - static_cast<float>(region.x)) * factor,
                   (src.y - static_cast<float>(region.y)) * factor, dst.w, dst.h};
            image = large;
        }
    }
    if (texture.alpha < 1.0f) SDL_SetTextureAlphaModFloat(image, texture.alpha);
    SDL_RenderTextureRotated(renderer_, image, &src, &dst, static_cast<double>(texture.angle), nullptr,
                             texture.is_flip ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
    if (texture.alpha < 1.0f) SDL_SetTextureAlphaModFloat(image, 1.0f); // the image is shared
}

void Graphics::renderHBar(glm::vec2 position, glm::vec2 size, float percent, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    const SDL_FRect box = {position.x, position.y, size.x, size.y};
    const SDL_FRect fill = {position.x, position.y, size.x * percent, size.y};
    // Outline and fill are one colour: where the fill covers the outline's box (a full bar, as most
    // are), the fill alone is the same picture.
    const SDL_FRect outer = lineBox(box.x, box.y, box.x + box.w - 1.0f, box.y + box.h - 1.0f);
    const bool fill_covers = std::trunc(fill.x) <= outer.x && std::trunc(fill.y) <= outer.y &&
                             std::trunc(fill.x) + std::trunc(fill.w) >= outer.x + outer.w &&
                             std::trunc(fill.y) + std::trunc(fill.h) >= outer.y + outer.h;
    rects_.clear();
    if (!fill_covers) appendOutline(box, rects_);
    rects_.push_back(fill);
    SDL_RenderFillRects(renderer_, rects_.data(), static_cast<int>(rects_.size()));
    resetDrawColor(renderer_);
}

void Graphics::drawGrid(glm::vec2 top_left, glm::vec2 bottom_right, float grid_width, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    rects_.clear();
    // The lines fall where repeated adding puts them, so the counter stays a float.
    // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter)
    for (float x = top_left.x; x <= bottom_right.x; x += grid_width) {
        rects_.push_back(lineBox(x, top_left.y, x, bottom_right.y));
    }
    // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): as above
    for (float y = top_left.y; y <= bottom_right.y; y += grid_width) {
        rects_.push_back(lineBox(top_left.x, y, bottom_right.x, y));
    }
    SDL_RenderFillRects(renderer_, rects_.data(), static_cast<int>(rects_.size()));
    resetDrawColor(renderer_);
}

void Graphics::drawBoundary(glm::vec2 top_left, glm::vec2 bottom_right, float boundary_width, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    rects_.clear();
    // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): the width is a float; steps are whole
    for (float i = 0.0f; i < boundary_width; i += 1.0f) {
        const SDL_FRect rect = {top_left.x - i, top_left.y - i, bottom_right.x - top_left.x + 2.0f * i,
                                bottom_right.y - top_left.y + 2.0f * i};
        appendOutline(rect, rects_);
    }
    SDL_RenderFillRects(renderer_, rects_.data(), static_cast<int>(rects_.size()));
    resetDrawColor(renderer_);
}

void Graphics::drawPoints(const std::vector<glm::vec2>& points, glm::vec2 offset, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    // One batched call draws the same pixels as one call per point, for a fraction of the cost.
    points_.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        points_[i] = {points[i].x + offset.x, points[i].y + offset.y};
    SDL_RenderPoints(renderer_, points_.data(), static_cast<int>(points_.size()));
    resetDrawColor(renderer_);
}
