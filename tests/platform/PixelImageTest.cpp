#include "platform/MessageBox.h"
#include "platform/PixelImage.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

TEST(PixelImage, PngRoundTripKeepsPixelsAndTopRowFirst)
{
    PixelImage image(4, 3, 0xFF102030);
    image.SetPixel(0, 0, 0xFFFF0000);
    image.SetPixel(3, 2, 0xFF000000);
    const std::string path = "/tmp/qx-img-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(image.SavePng(path));

    PixelImage loaded = PixelImage::LoadFile(path);
    ASSERT_EQ(loaded.Width(), 4);
    ASSERT_EQ(loaded.Height(), 3);
    EXPECT_EQ(loaded.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(loaded.Pixel(1, 1), 0xFF102030u);

    loaded.ApplyColorKey(0xFF000000);
    EXPECT_EQ(loaded.Pixel(3, 2), 0u);
    EXPECT_EQ(loaded.Pixel(2, 2), 0xFF102030u);

    PixelImage scaled = PixelImage::LoadFile(path, 8, 6);
    EXPECT_EQ(scaled.Width(), 8);
    EXPECT_EQ(scaled.Height(), 6);
    unlink(path.c_str());
}

TEST(PixelImage, UnreadableInputGivesAnEmptyImage)
{
    EXPECT_TRUE(PixelImage::LoadFile("/no/such/file.jpg").IsEmpty());
    const char garbage[] = "definitely not a picture";
    EXPECT_TRUE(PixelImage::LoadMemory(garbage, sizeof(garbage)).IsEmpty());
}

TEST(MessageBox, HandlerAndEnvironmentAnswerWithoutShowingABox)
{
    MessageBox::SetHandler([](const std::string& text, const std::string& caption, MsgBoxButtons, MsgBoxIcon) {
        return caption == "提示" && text == "x" ? MsgBoxResult::Cancel : MsgBoxResult::Ok;
    });
    EXPECT_EQ(MessageBox::Show("x", "提示", MsgBoxButtons::OkCancel, MsgBoxIcon::Warning), MsgBoxResult::Cancel);
    MessageBox::SetHandler(nullptr);

    const std::string log = "/tmp/qx-boxes-" + std::to_string(getpid());
    setenv("QUOBRIX_MESSAGEBOX_ANSWER", "cancel", 1);
    setenv("QUOBRIX_MESSAGEBOX_LOG", log.c_str(), 1);
    EXPECT_EQ(MessageBox::Show("升级", "Quobrix升级通知", MsgBoxButtons::OkCancel, MsgBoxIcon::Warning),
              MsgBoxResult::Cancel);
    unsetenv("QUOBRIX_MESSAGEBOX_ANSWER");
    unsetenv("QUOBRIX_MESSAGEBOX_LOG");
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "Quobrix升级通知|升级\n");
    unlink(log.c_str());
}
