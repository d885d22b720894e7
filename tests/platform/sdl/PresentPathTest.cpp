#include <gtest/gtest.h>

#include "platform/sdl/SdlVideo.h"

using plat::sdl::IsCpuRasterizer;

TEST(PresentPath, MesaCpuRasterizersAreRecognised) {
    EXPECT_TRUE(IsCpuRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsCpuRasterizer("softpipe"));
    EXPECT_TRUE(IsCpuRasterizer("Mesa swrast"));
    EXPECT_TRUE(IsCpuRasterizer("Software Rasterizer"));
}

TEST(PresentPath, GpusAreNotCpuRasterizers) {
    EXPECT_FALSE(IsCpuRasterizer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    // A GPU driver built on LLVM names it too, but it is no llvmpipe.
    EXPECT_FALSE(IsCpuRasterizer("AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)"));
    EXPECT_FALSE(IsCpuRasterizer("NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2"));
    EXPECT_FALSE(IsCpuRasterizer(""));
}
