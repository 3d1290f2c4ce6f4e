#include "picture/picture_options.h"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

namespace {

struct GoodPictureText {
    const char* size;
    const char* colour;
    const char* scale;
    const char* turn;
    const char* background;
    int width, height;
    ColorRef colourValue;
    double scaleValue, turnX, turnY;
    std::array<uint8_t, 3> backgroundValue;
};

class PictureOptionsGood : public ::testing::TestWithParam<GoodPictureText> {};

TEST_P(PictureOptionsGood, AreParsed)
{
    const GoodPictureText& c = GetParam();
    PictureOptionText text{c.size, c.colour, c.scale, c.turn, c.background, false};
    TubePictureOptions options;
    std::string error;
    ASSERT_TRUE(ParsePictureOptions(text, options, error)) << error;
    EXPECT_EQ(options.width, c.width);
    EXPECT_EQ(options.height, c.height);
    EXPECT_EQ(options.colour, c.colourValue);
    EXPECT_EQ(options.tubeScale, c.scaleValue);
    EXPECT_EQ(options.turnX, c.turnX);
    EXPECT_EQ(options.turnY, c.turnY);
    EXPECT_EQ(options.background, c.backgroundValue);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PictureOptionsGood,
    ::testing::Values(
        // Nothing given: the view's defaults.
        GoodPictureText{"", "", "", "", "", 480, 480, 0x00FFFFFF, 1.0, 0.0, 0.0, {0, 0, 0}},
        GoodPictureText{"800", "pink", "2", "10,16", "white", 800, 800, 0x00CCAAFF, 2.0, 10.0, 16.0, {255, 255, 255}},
        GoodPictureText{"640x480", "cyan", "0", "-90,0.5", "#102030", 640, 480, 0x00FFCCAA, 0.0, -90.0, 0.5,
                        {0x10, 0x20, 0x30}},
        GoodPictureText{"16x8192", "white", "-1.5", "0,0", "FFffFF", 16, 8192, 0x00FFFFFF, -1.5, 0.0, 0.0,
                        {255, 255, 255}},
        GoodPictureText{"8192x16", "", "1e6", "36000,-36000", "black", 8192, 16, 0x00FFFFFF, 1e6, 36000.0, -36000.0,
                        {0, 0, 0}}));

struct BadPictureText {
    const char* option;  // which field holds the bad value
    const char* value;
};

class PictureOptionsBad : public ::testing::TestWithParam<BadPictureText> {};

TEST_P(PictureOptionsBad, AreRefusedWithAOneLineMessageNamingTheOption)
{
    const BadPictureText& c = GetParam();
    PictureOptionText text;
    const std::string option = c.option;
    (option == "--size" ? text.size : option == "--colour" ? text.colour : option == "--scale" ? text.scale
                                        : option == "--turn"   ? text.turn
                                                               : text.background) = c.value;
    TubePictureOptions options, before;
    std::string error;
    EXPECT_FALSE(ParsePictureOptions(text, options, error));
    EXPECT_EQ(error.rfind(option + ":", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
    // Nothing is half taken over.
    EXPECT_EQ(options.width, before.width);
    EXPECT_EQ(options.colour, before.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PictureOptionsBad,
    ::testing::Values(BadPictureText{"--size", "15"}, BadPictureText{"--size", "8193"},
                      BadPictureText{"--size", "800x"}, BadPictureText{"--size", "x600"},
                      BadPictureText{"--size", "800x600x2"}, BadPictureText{"--size", "-800"},
                      BadPictureText{"--size", "80.5"}, BadPictureText{"--size", "99999999999"},
                      BadPictureText{"--size", "800X600"}, BadPictureText{"--colour", "red"},
                      BadPictureText{"--colour", "Pink"}, BadPictureText{"--scale", "nan"},
                      BadPictureText{"--scale", "inf"}, BadPictureText{"--scale", "1e7"},
                      BadPictureText{"--scale", "2x"}, BadPictureText{"--scale", " 2"},
                      BadPictureText{"--turn", "10"}, BadPictureText{"--turn", "10,"},
                      BadPictureText{"--turn", "a,b"}, BadPictureText{"--turn", "10,20,30"},
                      BadPictureText{"--turn", "1e300,0"}, BadPictureText{"--turn", "nan,0"},
                      BadPictureText{"--background", "grey"}, BadPictureText{"--background", "#12345"},
                      BadPictureText{"--background", "12345G"}, BadPictureText{"--background", "#1234567"}));

TEST(PictureOptions, TheOptionParserFillsTheTexts)
{
    CLI::App app;
    PictureOptionText text;
    AddPictureOptions(app, text);
    app.parse("--fit --turn=5,6 --size 32x16", false);
    EXPECT_TRUE(text.fit);
    EXPECT_EQ(text.size, "32x16");
    EXPECT_EQ(text.turn, "5,6");
    TubePictureOptions options;
    std::string error;
    ASSERT_TRUE(ParsePictureOptions(text, options, error)) << error;
    EXPECT_TRUE(options.fit);
    EXPECT_EQ(options.width, 32);
    EXPECT_EQ(options.height, 16);
}

}  // namespace
