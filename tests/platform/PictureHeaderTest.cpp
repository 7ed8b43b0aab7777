// A picture is judged by its header before it is decoded: a file of a few
// kilobytes that announces gigabytes of pixels never reaches the decoder.
#include "platform/PictureHeader.h"
#include "tests/support/EncodedPicture.h"

#include <FreeImage.h>
#include <Poco/Checksum.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint64_t kCap = 16u * 1024 * 1024;

// A real 16x16 picture in the given format.
std::string Encoded(FREE_IMAGE_FORMAT format)
{
    return EncodedPicture(format, 16);
}

void PutBigEndian(std::string& bytes, size_t at, uint32_t value, int length)
{
    for (int i = 0; i < length; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * (length - 1 - i)));
}

void PutLittleEndian16(std::string& bytes, size_t at, uint32_t value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

// The picture's header made to announce width x height, padded past the
// length below which a body counts as no picture at all.
std::string Bomb(FREE_IMAGE_FORMAT format, uint32_t width, uint32_t height)
{
    std::string bytes = Encoded(format);
    if (format == FIF_PNG) {
        PutBigEndian(bytes, 16, width, 4);
        PutBigEndian(bytes, 20, height, 4);
        Poco::Checksum crc(Poco::Checksum::TYPE_CRC32);
        crc.update(bytes.data() + 12, 17);
        PutBigEndian(bytes, 29, crc.checksum(), 4);
    } else if (format == FIF_JPEG) {
        const size_t frame = bytes.find("\xFF\xC0");
        PutBigEndian(bytes, frame + 5, height, 2);
        PutBigEndian(bytes, frame + 7, width, 2);
    } else if (format == FIF_GIF) {
        PutLittleEndian16(bytes, 6, 16);
        PutLittleEndian16(bytes, 8, 16);
        const size_t image = bytes.find('\x2C', 13);
        PutLittleEndian16(bytes, image + 5, width);
        PutLittleEndian16(bytes, image + 7, height);
    }
    bytes.append(2048, '\0');
    return bytes;
}

}

TEST(PictureHeader, TheThreeCardFormatsAreReadWithoutTheirPixels)
{
    const std::pair<FREE_IMAGE_FORMAT, PictureHeader::Format> formats[] = {
        {FIF_JPEG, PictureHeader::Format::Jpeg}, {FIF_PNG, PictureHeader::Format::Png},
        {FIF_GIF, PictureHeader::Format::Gif}};
    for (const auto& [format, expected] : formats) {
        const PictureHeader header = PictureHeader::Read(Encoded(format));
        EXPECT_EQ(header.format, expected) << format;
        EXPECT_EQ(header.width, 16u) << format;
        EXPECT_EQ(header.height, 16u) << format;
        EXPECT_TRUE(header.IsCardPicture(kCap)) << format;
    }
}

TEST(PictureHeader, AHeaderThatAnnouncesTooManyPixelsIsRefusedInEveryFormat)
{
    const FREE_IMAGE_FORMAT formats[] = {FIF_JPEG, FIF_PNG, FIF_GIF};
    for (const FREE_IMAGE_FORMAT format : formats) {
        const PictureHeader header = PictureHeader::Read(Bomb(format, 60000, 60000));
        EXPECT_EQ(header.width, 60000u) << format;
        EXPECT_EQ(header.height, 60000u) << format;
        EXPECT_FALSE(header.IsCardPicture(kCap)) << format << ": " << header.Describe();
    }
    // 4096 x 4096 is the most a card picture may be.
    EXPECT_TRUE(PictureHeader::Read(Bomb(FIF_PNG, 4096, 4096)).IsCardPicture(kCap));
    EXPECT_FALSE(PictureHeader::Read(Bomb(FIF_PNG, 4097, 4096)).IsCardPicture(kCap));
}

TEST(PictureHeader, OtherFormatsAndNonPicturesAreNoCardPictures)
{
    // The BMP: 2 097 166 x 197 in a 2 KB file.
    std::string bmp = Encoded(FIF_BMP);
    bmp[18] = '\x0E'; bmp[19] = '\x00'; bmp[20] = '\x20'; bmp[21] = '\x00';
    bmp[22] = '\xC5'; bmp[23] = '\x00'; bmp[24] = '\x00'; bmp[25] = '\x00';
    bmp.append(2048, '\0');
    const PictureHeader header = PictureHeader::Read(bmp);
    EXPECT_EQ(header.format, PictureHeader::Format::Other);
    EXPECT_EQ(header.width, 2097166u);
    EXPECT_FALSE(header.IsCardPicture(kCap));
    EXPECT_EQ(header.Describe(), "another format 2097166x197");

    EXPECT_EQ(PictureHeader::Read(std::string(2048, 'x')).format, PictureHeader::Format::Unknown);
    EXPECT_FALSE(PictureHeader::Read("GIF89a").IsCardPicture(kCap)) << "a GIF cut inside its header";
}
