#include "core/RendererChoice.h"

#include <gtest/gtest.h>

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
