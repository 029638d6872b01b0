#include "shell/Platform.h"

#include "core/Game.h"
#include "shell/RendererChoice.h"

#include <SDL3/SDL.h>

#include <filesystem>

#ifdef __linux__
#include <X11/Xlib.h>
#include <dlfcn.h>
#endif

namespace {

// Where this file is, the rest of assets/ is.
constexpr const char* kAssetsMark = "assets/sprite/ghost-idle.png";

bool holdsAssets(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / kAssetsMark, error);
}

bool enterFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::current_path(folder, error);
    if (error) SDL_Log("Cannot enter the game's folder %s: %s", folder.string().c_str(), error.message().c_str());
    return !error;
}

} // namespace

bool enterGameFolder() {
    const char* base = SDL_GetBasePath();
#ifdef _WIN32
    if (!base) SDL_Log("Cannot enter the game's folder: %s", SDL_GetError());
    if (base) enterFolder(std::filesystem::u8path(base));
#else
    if (holdsAssets(".") || !base) return holdsAssets(".");
    // A build or the tarball keeps assets/ beside the executable or one folder up; an installed game
    // keeps them in share/moonvale beside lib/moonvale.
    for (const char* relative : {".", "..", "../../share/moonvale"}) {
        const std::filesystem::path folder = std::filesystem::path(base) / relative;
        if (holdsAssets(folder) && enterFolder(folder)) return true;
    }
#endif
    return holdsAssets(".");
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

void forgetFile(const std::string& /*path*/) {
    // Likewise gone once removed.
}

void runWhenIdle(const std::function<void()>& work) {
    work();
}

void showPageTextField(const SDL_Rect& /*area*/, const std::string& /*text*/) {}

void hidePageTextField() {}

std::optional<PageTextField> readPageTextField() {
    return std::nullopt;
}

void giveCanvasBackToPage() {}

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

bool prefersReducedMotion() {
    return false;
}

bool hasCoarsePointer() {
    int count = 0;
    SDL_TouchID* devices = SDL_GetTouchDevices(&count);
    SDL_free(devices);
    return count > 0;
}
