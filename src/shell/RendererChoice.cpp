#include "shell/RendererChoice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <system_error>

bool isSoftwareRasterizer(std::string_view gl_renderer) {
    std::string lower(gl_renderer);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // Mesa's, and what browsers report for WebGL without a GPU: Chromium's SwiftShader, Windows' WARP
    // ("Microsoft Basic Render Driver"), Apple's "Apple Software Renderer".
    constexpr std::array<std::string_view, 6> kNames = {"llvmpipe",    "softpipe",     "swrast",
                                                        "swiftshader", "basic render", "software renderer"};
    return std::any_of(kNames.begin(), kNames.end(),
                       [&](std::string_view name) { return lower.find(name) != std::string::npos; });
}

bool preferSoftwareRenderer(std::string_view picked, std::string_view gl_renderer, bool chosen_by_user) {
    if (chosen_by_user) return false;
    const bool opengl = picked == "opengl" || picked == "opengles2";
    return opengl && isSoftwareRasterizer(gl_renderer);
}

std::string glRendererOf(SDL_Renderer* renderer) {
    const char* name = renderer ? SDL_GetRendererName(renderer) : nullptr;
    if (!name || SDL_strncmp(name, "opengl", 6) != 0) return {};
    // The renderer's context is current: ask it what does the drawing.
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* gl = get ? get(kGlRenderer) : nullptr;
    return gl ? reinterpret_cast<const char*>(gl) : std::string();
}

bool hasGpuDevice(const std::filesystem::path& dev) {
    std::error_code error;
    if (std::filesystem::exists(dev / "nvidiactl", error)) return true;
    for (const auto& entry : std::filesystem::directory_iterator(dev / "dri", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return true;
    }
    return false;
}
