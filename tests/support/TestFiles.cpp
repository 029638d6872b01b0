#include "support/TestFiles.h"

#include "core/SdlHandles.h"

#include <SDL3_image/SDL_image.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

TempDir::TempDir() {
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() / ("moonvale-test-" + std::to_string(device()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeQuadrantPng(const std::string& path, int width, int height) {
    SurfacePtr surface(SDL_CreateSurface(width, height, SDL_PIXELFORMAT_RGBA32));
    const SDL_PixelFormatDetails* format = SDL_GetPixelFormatDetails(surface->format);
    const int hw = width / 2;
    const int hh = height / 2;
    const SDL_Rect quads[4] = {
        {0, 0, hw, hh}, {hw, 0, width - hw, hh}, {0, hh, hw, height - hh}, {hw, hh, width - hw, height - hh}};
    const Uint32 colors[4] = {
        SDL_MapRGBA(format, nullptr, 255, 0, 0, 255), SDL_MapRGBA(format, nullptr, 0, 255, 0, 255),
        SDL_MapRGBA(format, nullptr, 0, 0, 255, 255), SDL_MapRGBA(format, nullptr, 255, 255, 255, 255)};
    for (int i = 0; i < 4; ++i)
        SDL_FillSurfaceRect(surface.get(), &quads[i], colors[i]);
    IMG_SavePNG(surface.get(), path.c_str());
}

namespace {
template <typename T> void put(std::ofstream& out, T value) {
    out.write(reinterpret_cast<const char*>(&value), sizeof(value));
}
} // namespace

void writeToneWav(const std::string& path, float seconds, float hz) {
    const std::uint32_t rate = 44100;
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put<std::uint32_t>(out, 36 + frames * 2);
    out.write("WAVEfmt ", 8);
    put<std::uint32_t>(out, 16);
    put<std::uint16_t>(out, 1); // PCM
    put<std::uint16_t>(out, 1); // mono
    put<std::uint32_t>(out, rate);
    put<std::uint32_t>(out, rate * 2);
    put<std::uint16_t>(out, 2);
    put<std::uint16_t>(out, 16);
    out.write("data", 4);
    put<std::uint32_t>(out, frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) {
        put<std::int16_t>(out, static_cast<std::int16_t>(8000.0 * std::sin(2.0 * M_PI * hz * i / rate)));
    }
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

SDL_Color readPixel(SDL_Renderer* renderer, int x, int y) {
    const SDL_Rect rect = {x, y, 1, 1};
    SurfacePtr surface(SDL_RenderReadPixels(renderer, &rect));
    SDL_Color c{0, 0, 0, 0};
    if (surface) SDL_ReadSurfacePixel(surface.get(), 0, 0, &c.r, &c.g, &c.b, &c.a);
    return c;
}

bool isBlack(SDL_Color c) {
    return c.r < 8 && c.g < 8 && c.b < 8;
}

int countLit(SDL_Renderer* renderer, SDL_Rect rect) {
    SurfacePtr surface(SDL_RenderReadPixels(renderer, &rect));
    if (!surface) return 0;
    int lit = 0;
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            SDL_Color c{};
            SDL_ReadSurfacePixel(surface.get(), x, y, &c.r, &c.g, &c.b, &c.a);
            lit += !isBlack(c);
        }
    }
    return lit;
}
