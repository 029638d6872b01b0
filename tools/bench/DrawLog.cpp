// The game's code is linked into this program statically, so its calls to these SDL functions bind
// to the definitions here. Each records the call when asked and forwards it to SDL's own function.
#include "DrawLog.h"

#include <dlfcn.h>

DrawLog& drawLog() {
    static DrawLog log;
    return log;
}

namespace {

template <typename F> F real(const char* name) {
    static_assert(sizeof(F) == sizeof(void*));
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

using ClearFn = bool (*)(SDL_Renderer*);
using ColorFn = bool (*)(SDL_Renderer*, Uint8, Uint8, Uint8, Uint8);
using ColorFloatFn = bool (*)(SDL_Renderer*, float, float, float, float);
using RectFn = bool (*)(SDL_Renderer*, const SDL_FRect*);
using RectsFn = bool (*)(SDL_Renderer*, const SDL_FRect*, int);
using LineFn = bool (*)(SDL_Renderer*, float, float, float, float);
using PointsFn = bool (*)(SDL_Renderer*, const SDL_FPoint*, int);
using TextureFn = bool (*)(SDL_Renderer*, SDL_Texture*, const SDL_FRect*, const SDL_FRect*, double,
                           const SDL_FPoint*, SDL_FlipMode);
using ColorModFn = bool (*)(SDL_Texture*, float, float, float);
using TextFn = bool (*)(TTF_Text*, float, float);

struct Real {
    ClearFn clear = real<ClearFn>("SDL_RenderClear");
    ClearFn present = real<ClearFn>("SDL_RenderPresent");
    ColorFn color = real<ColorFn>("SDL_SetRenderDrawColor");
    ColorFloatFn color_float = real<ColorFloatFn>("SDL_SetRenderDrawColorFloat");
    RectFn rect = real<RectFn>("SDL_RenderRect");
    RectFn fill_rect = real<RectFn>("SDL_RenderFillRect");
    RectsFn fill_rects = real<RectsFn>("SDL_RenderFillRects");
    LineFn line = real<LineFn>("SDL_RenderLine");
    PointsFn points = real<PointsFn>("SDL_RenderPoints");
    TextureFn texture = real<TextureFn>("SDL_RenderTextureRotated");
    ColorModFn color_mod = real<ColorModFn>("SDL_SetTextureColorModFloat");
    TextFn text = real<TextFn>("TTF_DrawRendererText");
};

const Real& sdl() {
    static const Real functions;
    return functions;
}

void record(const DrawCall& call) {
    if (drawLog().recording) drawLog().calls.push_back(call);
}

} // namespace

extern "C" {

bool SDL_RenderClear(SDL_Renderer* renderer) {
    record({DrawCall::CLEAR});
    return sdl().clear(renderer);
}

bool SDL_RenderPresent(SDL_Renderer* renderer) {
    record({DrawCall::PRESENT});
    return sdl().present(renderer);
}

bool SDL_SetRenderDrawColor(SDL_Renderer* renderer, Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
    DrawCall call{DrawCall::COLOR};
    call.a = r, call.b = g, call.c = b, call.d = a;
    record(call);
    return sdl().color(renderer, r, g, b, a);
}

bool SDL_SetRenderDrawColorFloat(SDL_Renderer* renderer, float r, float g, float b, float a) {
    DrawCall call{DrawCall::COLOR_FLOAT};
    call.a = r, call.b = g, call.c = b, call.d = a;
    record(call);
    return sdl().color_float(renderer, r, g, b, a);
}

bool SDL_RenderRect(SDL_Renderer* renderer, const SDL_FRect* rect) {
    DrawCall call{DrawCall::RECT};
    call.dst = *rect;
    record(call);
    return sdl().rect(renderer, rect);
}

bool SDL_RenderFillRect(SDL_Renderer* renderer, const SDL_FRect* rect) {
    DrawCall call{DrawCall::FILL_RECT};
    call.dst = *rect;
    record(call);
    return sdl().fill_rect(renderer, rect);
}

bool SDL_RenderFillRects(SDL_Renderer* renderer, const SDL_FRect* rects, int count) {
    if (drawLog().recording) {
        DrawCall call{DrawCall::FILL_RECTS};
        call.first_point = drawLog().rects.size();
        call.point_count = static_cast<size_t>(count);
        drawLog().rects.insert(drawLog().rects.end(), rects, rects + count);
        record(call);
    }
    return sdl().fill_rects(renderer, rects, count);
}

bool SDL_RenderLine(SDL_Renderer* renderer, float x1, float y1, float x2, float y2) {
    DrawCall call{DrawCall::LINE};
    call.a = x1, call.b = y1, call.c = x2, call.d = y2;
    record(call);
    return sdl().line(renderer, x1, y1, x2, y2);
}

bool SDL_RenderPoints(SDL_Renderer* renderer, const SDL_FPoint* points, int count) {
    if (drawLog().recording) {
        DrawCall call{DrawCall::POINTS};
        call.first_point = drawLog().points.size();
        call.point_count = static_cast<size_t>(count);
        drawLog().points.insert(drawLog().points.end(), points, points + count);
        record(call);
    }
    return sdl().points(renderer, points, count);
}

bool SDL_RenderTextureRotated(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_FRect* src,
                              const SDL_FRect* dst, double angle, const SDL_FPoint* center,
                              SDL_FlipMode flip) {
    DrawCall call{DrawCall::TEXTURE};
    call.texture = texture;
    call.src = *src;
    call.dst = *dst;
    call.angle = angle;
    call.flip = flip;
    record(call);
    return sdl().texture(renderer, texture, src, dst, angle, center, flip);
}

bool SDL_SetTextureColorModFloat(SDL_Texture* texture, float r, float g, float b) {
    DrawCall call{DrawCall::COLOR_MOD};
    call.texture = texture;
    call.a = r, call.b = g, call.c = b;
    record(call);
    return sdl().color_mod(texture, r, g, b);
}

bool TTF_DrawRendererText(TTF_Text* text, float x, float y) {
    DrawCall call{DrawCall::TEXT};
    call.text = text;
    call.a = x, call.b = y;
    record(call);
    return sdl().text(text, x, y);
}

} // extern "C"

void replay(SDL_Renderer* renderer, const DrawLog& log) {
    const Real& f = sdl();
    for (const DrawCall& c : log.calls) {
        switch (c.kind) {
        case DrawCall::CLEAR:
            f.clear(renderer);
            break;
        case DrawCall::PRESENT:
            f.present(renderer);
            break;
        case DrawCall::COLOR:
            f.color(renderer, static_cast<Uint8>(c.a), static_cast<Uint8>(c.b), static_cast<Uint8>(c.c),
                    static_cast<Uint8>(c.d));
            break;
        case DrawCall::COLOR_FLOAT:
            f.color_float(renderer, c.a, c.b, c.c, c.d);
            break;
        case DrawCall::RECT:
            f.rect(renderer, &c.dst);
            break;
        case DrawCall::FILL_RECT:
            f.fill_rect(renderer, &c.dst);
            break;
        case DrawCall::FILL_RECTS:
            f.fill_rects(renderer, log.rects.data() + c.first_point, static_cast<int>(c.point_count));
            break;
        case DrawCall::LINE:
            f.line(renderer, c.a, c.b, c.c, c.d);
            break;
        case DrawCall::POINTS:
            f.points(renderer, log.points.data() + c.first_point, static_cast<int>(c.point_count));
            break;
        case DrawCall::TEXTURE:
            f.texture(renderer, c.texture, &c.src, &c.dst, c.angle, nullptr, c.flip);
            break;
        case DrawCall::COLOR_MOD:
            f.color_mod(c.texture, c.a, c.b, c.c);
            break;
        case DrawCall::TEXT:
            f.text(c.text, c.a, c.b);
            break;
        }
    }
}
