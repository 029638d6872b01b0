#include "shell/Platform.h"

#include "core/Game.h"
#include "shell/RendererChoice.h"

#include <SDL3/SDL.h>

#include <filesystem>

void enterGameFolder() {
#ifdef _WIN32
    const char* base = SDL_GetBasePath();
    std::error_code error;
    if (base) std::filesystem::current_path(std::filesystem::u8path(base), error);
    if (!base || error)
        SDL_Log("Cannot enter the game's folder: %s", base ? error.message().c_str() : SDL_GetError());
#endif
}

const char* reasonToDrawInSoftware() {
#ifdef __linux__
    return hasGpuDevice("/dev") ? nullptr : "no GPU device here";
#else
    return nullptr;
#endif
}

void runMainLoop(Game& game) {
    game.run();
    game.clean();
}

void keepFile(const std::string& /*path*/, std::string_view /*contents*/) {
    // A desktop's files last as written.
}

void fitWindowToPage() {
}

bool keepsLogFile() {
    return true;
}

SDL_Rect windowSafeArea(SDL_Window* window) {
    SDL_Rect safe{};
    if (!SDL_GetWindowSafeArea(window, &safe)) SDL_GetWindowSize(window, &safe.w, &safe.h);
    return safe;
}
