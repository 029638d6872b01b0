#pragma once
#include <SDL3/SDL.h>

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A PNG of the given size split into four quadrants: top-left red, top-right green,
// bottom-left blue, bottom-right white.
void writeQuadrantPng(const std::string& path, int width, int height);
// A mono 16-bit WAV of a sine tone.
void writeToneWav(const std::string& path, float seconds, float hz = 440.0f);
void writeText(const std::string& path, const std::string& text);
// The whole file, byte for byte (empty when it cannot be read).
std::string readText(const std::string& path);

// Reads one pixel of the renderer's canvas.
SDL_Color readPixel(SDL_Renderer* renderer, int x, int y);
bool isBlack(SDL_Color c);
// How many pixels of the rectangle are not black.
int countLit(SDL_Renderer* renderer, SDL_Rect rect);
