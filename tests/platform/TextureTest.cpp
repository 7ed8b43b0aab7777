// Textures made on a thread without a GL context are uploaded when the
// render thread first draws them.
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct Vertex
{
    float x, y, z, u, v;
};

}

TEST(Texture, MadeOnAWorkerThreadIsDrawnByTheRenderThread)
{
    // Kept to the end of the process, like the program's window: unloading
    // the GL driver early would hide its own allocations from the leak check.
    static PlatformWindow* window = new PlatformWindow;
    std::string error;
    ASSERT_TRUE(window->Create("texture test", 320, 200, error)) << error;
    RenderDevice device(*window);

    TexturePtr texture;
    std::thread worker([&] {
        PixelImage pixels(4, 4, 0xFF20C040);
        pixels.SetPixel(0, 0, 0xFF000000);
        pixels.ApplyColorKey(0xFF000000);
        texture = device.CreateTexture(std::move(pixels), true);
    });
    worker.join();
    ASSERT_TRUE(texture);
    EXPECT_FALSE(texture->IsUploaded());
    EXPECT_EQ(texture->Width(), 4);

    // A quad over the whole viewport, identity transforms.
    VertexBuffer quad(6, FVF_XYZ | FVF_TEX1);
    const Vertex vertices[6] = {{-1, 1, 0.5f, 0.5f, 0.5f}, {1, 1, 0.5f, 0.9f, 0.5f}, {-1, -1, 0.5f, 0.5f, 0.9f},
                                {1, 1, 0.5f, 0.9f, 0.5f},  {1, -1, 0.5f, 0.9f, 0.9f}, {-1, -1, 0.5f, 0.5f, 0.9f}};
    std::copy(vertices, vertices + 6, static_cast<Vertex*>(quad.Lock()));
    device.BeginScene();
    device.Clear(0xFF000000);
    device.SetTexture(texture.get());
    device.SetStreamSource(&quad);
    device.DrawTriangleList(0, 2);
    device.EndScene();
    EXPECT_TRUE(texture->IsUploaded());
    const PixelImage frame = device.ReadBackBuffer();
    EXPECT_EQ(frame.Pixel(frame.Width() / 2, frame.Height() / 2) & 0xFFFFFF, 0x20C040u);
    texture.reset();

    // Its mip chain was made with it: 64 one-pixel stripes squeezed into a
    // few pixels read as their average, not as one stripe.
    PixelImage stripes(64, 64, 0xFFFFFFFF);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; x += 2)
            stripes.SetPixel(x, y, 0xFF000000);
    TexturePtr striped = device.CreateTexture(std::move(stripes), true);
    ASSERT_TRUE(striped->HasMipmaps());
    const float w = 8.0f / frame.Width(), h = 8.0f / frame.Height();
    const Vertex small[6] = {{-w, h, 0.5f, 0, 0}, {w, h, 0.5f, 1, 0},   {-w, -h, 0.5f, 0, 1},
                             {w, h, 0.5f, 1, 0},  {w, -h, 0.5f, 1, 1}, {-w, -h, 0.5f, 0, 1}};
    std::copy(small, small + 6, static_cast<Vertex*>(quad.Lock()));
    device.BeginScene();
    device.Clear(0xFF000000);
    device.SetSamplerFilters({TextureFilter::Point, TextureFilter::Point, TextureFilter::Point});
    device.SetTexture(striped.get());
    device.DrawTriangleList(0, 2);
    device.EndScene();
    const uint32_t grey = device.ReadBackBuffer().Pixel(frame.Width() / 2, frame.Height() / 2);
    EXPECT_NEAR(static_cast<int>(grey & 0xFF), 128, 24);
}
