#include "shell/RendererChoice.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(RendererChoiceTest, OnlyOpenGLOnASoftwareRasteriserIsReplacedAndOnlyWhenNobodyChose) {
    const char* llvmpipe = "llvmpipe (LLVM 15.0.6, 256 bits)";
    EXPECT_TRUE(preferSoftwareRenderer("opengl", llvmpipe, false));
    EXPECT_TRUE(preferSoftwareRenderer("opengles2", "Gallium 0.4 on softpipe", false));
    EXPECT_TRUE(preferSoftwareRenderer("opengl", "Mesa X11 SWRAST", false));
    EXPECT_FALSE(preferSoftwareRenderer("opengl", llvmpipe, true)); // --renderer or SDL_RENDER_DRIVER
    EXPECT_FALSE(preferSoftwareRenderer("opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false));
    EXPECT_FALSE(preferSoftwareRenderer("opengl", "NVIDIA GeForce RTX 3060/PCIe/SSE2", false));
    EXPECT_FALSE(preferSoftwareRenderer("opengl", "", false)); // could not ask: keep SDL's pick
    EXPECT_FALSE(preferSoftwareRenderer("vulkan", llvmpipe, false));
    EXPECT_FALSE(preferSoftwareRenderer("software", "", false));
}

// What browsers report for WebGL: software where there is no GPU, a real one otherwise.
TEST(RendererChoiceTest, WebGLOnSwiftShaderWarpOrLlvmpipeIsSoftware) {
    for (const char* software :
         {"ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), SwiftShader driver)",
          "Google SwiftShader", "ANGLE (Mesa, llvmpipe (LLVM 15.0.6 256 bits), OpenGL 4.5)",
          "ANGLE (Microsoft, Microsoft Basic Render Driver Direct3D11 vs_5_0 ps_5_0, D3D11)",
          "Apple Software Renderer"})
        EXPECT_TRUE(isSoftwareRasterizer(software)) << software;
    for (const char* gpu :
         {"ANGLE (NVIDIA, NVIDIA GeForce RTX 3060 (0x00002504) Direct3D11 vs_5_0 ps_5_0, D3D11)",
          "ANGLE (Intel, Mesa Intel(R) UHD Graphics 620 (KBL GT2), OpenGL 4.6)", "Apple M1", "Mali-G78",
          "Adreno (TM) 650", "WebKit WebGL"})
        EXPECT_FALSE(isSoftwareRasterizer(gpu)) << gpu;
}

} // namespace

namespace {

TEST(RendererChoiceTest, GpuDeviceNodesAreDrmCardsRenderNodesOrNvidia) {
    const TempDir dev;
    EXPECT_FALSE(hasGpuDevice(dev.path())); // no dri folder at all, as in a container or a bare VM
    std::filesystem::create_directories(dev.path() / "dri" / "by-path");
    EXPECT_FALSE(hasGpuDevice(dev.path()));
    writeText(dev.file("dri/renderD128"), "");
    EXPECT_TRUE(hasGpuDevice(dev.path()));

    const TempDir nvidia;
    writeText(nvidia.file("nvidiactl"), "");
    EXPECT_TRUE(hasGpuDevice(nvidia.path()));
}

} // namespace
