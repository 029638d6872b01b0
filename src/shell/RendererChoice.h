#pragma once
#include <SDL3/SDL.h>

#include <filesystem>
#include <string>
#include <string_view>

// On a machine whose only OpenGL is Mesa's software rasteriser (a VM, a desktop without a GPU driver),
// SDL still picks its OpenGL renderer, and this game draws several times faster with SDL's own software
// renderer there. A driver named on the command line or in SDL_RENDER_DRIVER is never second-guessed.

// True for the GL_RENDERER strings of Mesa's software rasterisers (llvmpipe, softpipe, swrast), and for
// the unmasked WebGL renderer strings of the browsers' own (SwiftShader, WARP, Apple's).
[[nodiscard]] bool isSoftwareRasterizer(std::string_view gl_renderer);
// Whether to replace the renderer SDL picked (its name, and GL_RENDERER when it is an OpenGL one).
[[nodiscard]] bool preferSoftwareRenderer(std::string_view picked, std::string_view gl_renderer,
                                          bool chosen_by_user);
// What draws for this renderer's OpenGL context (GL_RENDERER), or empty for a renderer that is not
// OpenGL or a context that will not say.
[[nodiscard]] std::string glRendererOf(SDL_Renderer* renderer);

// Whether dev (normally /dev) has a GPU device node: a DRM card or render node, or NVIDIA's control
// device. Without one, Mesa's OpenGL can only be a software rasteriser, and asking it (which loads the
// rasteriser's ~50 MB of LLVM for good) is not needed.
[[nodiscard]] bool hasGpuDevice(const std::filesystem::path& dev);
