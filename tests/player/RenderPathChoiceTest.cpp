#include "player/RenderPathChoice.h"

#include <gtest/gtest.h>

namespace {

// Renderer and vendor strings as drivers report them.
TEST(RenderPathChoiceTest, SoftwareDriversByTheirNames)
{
    const struct
    {
        const char *vendor, *renderer;
        bool isSoftware;
    } cases[] = {
        {"Mesa", "llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"Mesa/X.org", "llvmpipe (LLVM 11.0.1, 128 bits)", true},
        {"VMware, Inc.", "softpipe", true},
        {"Mesa Project", "Software Rasterizer", true},
        {"Mesa", "swrast", true},
        {"Collabora Ltd", "zink (llvmpipe (LLVM 15.0.7, 256 bits))", true},
        {"Microsoft Corporation", "D3D12 (Microsoft Basic Render Driver)", true},
        // Hardware, also where "LLVM" is named (the shader compiler) or the vendor is Mesa.
        {"AMD", "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
        {"Intel", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"NVIDIA Corporation", "NVIDIA GeForce GTX 1080/PCIe/SSE2", false},
        {"Mesa", "virgl (NVIDIA GeForce RTX 3060)", false},
        {"", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RenderPathChoice::isSoftwareDriver({c.vendor, c.renderer}), c.isSoftware) << c.renderer;
}

TEST(RenderPathChoiceTest, SoftwarePathWithoutDisplayWithoutOpenGlOrOnASoftwareDriver)
{
    const RenderPathChoice::Driver hardware{"NVIDIA Corporation", "NVIDIA GeForce GTX 1080/PCIe/SSE2"};
    const RenderPathChoice::Driver llvmpipe{"Mesa", "llvmpipe (LLVM 15.0.6, 256 bits)"};
    const struct
    {
        const char *platform;
        std::optional<RenderPathChoice::Driver> driver;
        bool isSoftware;
    } cases[] = {
        {"xcb", hardware, false},    {"wayland", hardware, false}, {"xcb", llvmpipe, true},
        {"wayland", llvmpipe, true}, {"xcb", std::nullopt, true},  {"offscreen", hardware, true},
        {"minimal", hardware, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RenderPathChoice::isSoftwarePreferred(c.platform, c.driver), c.isSoftware)
            << c.platform << " " << (c.driver ? c.driver->renderer.toStdString() : "no OpenGL");
}

} // namespace
