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
