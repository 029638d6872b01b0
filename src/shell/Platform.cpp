#include "shell/Platform.h"

#include "core/Game.h"
#include "shell/RendererChoice.h"

#include <SDL3/SDL.h>

#include <filesystem>

#ifdef __linux__
#include <X11/Xlib.h>
#include <dlfcn.h>
#endif

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

#ifdef __linux__
namespace {

int logXError(Display* /*display*/, XErrorEvent* error) {
    static int said = 0;
    if (said < 3) {
        ++said;
        SDL_Log("X error %u (request %u) on 0x%lx, passed over", static_cast<unsigned>(error->error_code),
                static_cast<unsigned>(error->request_code), error->resourceid);
    }
    return 0;
}

} // namespace
#endif

void surviveWindowSystemErrors() {
#ifdef __linux__
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || SDL_strcmp(driver, "x11") != 0) return;
    // SDL loaded Xlib itself; the game does not link it.
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!xlib) return;
    using SetHandler = XErrorHandler (*)(XErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetErrorHandler"))) set(logXError);
    dlclose(xlib);
#endif
}

bool keepsLogFile() {
    return true;
}

SDL_Rect windowSafeArea(SDL_Window* window) {
    SDL_Rect safe{};
    if (!SDL_GetWindowSafeArea(window, &safe)) SDL_GetWindowSize(window, &safe.w, &safe.h);
    return safe;
}
