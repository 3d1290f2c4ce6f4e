#include "io/picture_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

namespace {

// A small picture whose every pixel differs: rows from the top.
std::vector<uint8_t> TestPicture(int width, int height)
{
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<uint8_t>(i * 37 + i / 3);
    return rgb;
}

TEST(PictureFormat, IsChosenByTheExtensionInAnyCase)
{
    EXPECT_EQ(PictureFormatOfPath("a.png"), PictureFormat::Png);
    EXPECT_EQ(PictureFormatOfPath("dir.x/A.PNG"), PictureFormat::Png);
    EXPECT_EQ(PictureFormatOfPath("a.Ppm"), PictureFormat::Ppm);
    EXPECT_EQ(PictureFormatOfPath("png"), PictureFormat::Unknown);
    EXPECT_EQ(PictureFormatOfPath("a.png.txt"), PictureFormat::Unknown);
    EXPECT_EQ(PictureFormatOfPath("a.jpg"), PictureFormat::Unknown);
    EXPECT_EQ(PictureFormatOfPath(""), PictureFormat::Unknown);
}

TEST(EncodePicture, PngReadsBackPixelForPixel)
{
    const int width = 7, height = 5;  // odd sizes: no row padding may creep in
    const std::vector<uint8_t> rgb = TestPicture(width, height);
    std::string bytes, error;
    ASSERT_TRUE(EncodePicture(rgb.data(), width, height, PictureFormat::Png, bytes, error)) << error;

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) << image.message;
    EXPECT_EQ(image.width, 7u);
    EXPECT_EQ(image.height, 5u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> back(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, back.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(back, rgb);
}

TEST(EncodePicture, PpmIsAHeaderAndTheRowsFromTheTop)
{
    const std::vector<uint8_t> rgb = TestPicture(3, 2);
    std::string bytes, error;
    ASSERT_TRUE(EncodePicture(rgb.data(), 3, 2, PictureFormat::Ppm, bytes, error)) << error;
    const std::string header = "P6\n3 2\n255\n";
    ASSERT_EQ(bytes.size(), header.size() + rgb.size());
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    EXPECT_EQ(std::memcmp(bytes.data() + header.size(), rgb.data(), rgb.size()), 0);
}

TEST(EncodePicture, RefusesWhatCannotBeAPicture)
{
    const std::vector<uint8_t> rgb = TestPicture(2, 2);
    std::string bytes = "kept", error;
    EXPECT_FALSE(EncodePicture(rgb.data(), 0, 2, PictureFormat::Png, bytes, error));
    EXPECT_FALSE(EncodePicture(rgb.data(), 2, -1, PictureFormat::Ppm, bytes, error));
    EXPECT_FALSE(EncodePicture(nullptr, 2, 2, PictureFormat::Png, bytes, error));
    error.clear();
    EXPECT_FALSE(EncodePicture(rgb.data(), 2, 2, PictureFormat::Unknown, bytes, error));
    EXPECT_NE(error.find(".png"), std::string::npos);
    EXPECT_EQ(bytes, "kept");
}

TEST(WritePictureFile, ReportsAFolderThatDoesNotExist)
{
    const std::vector<uint8_t> rgb = TestPicture(2, 2);
    std::string error;
    EXPECT_FALSE(WritePictureFile("/nonexistent-folder/x.png", rgb.data(), 2, 2, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
