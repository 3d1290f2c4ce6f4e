#include "dialogs/color_table.h"
#include "render/tube_material.h"

#include <gtest/gtest.h>

#include "curve/constants.h"

namespace {

TEST(ColorTable, RadioPositionsOfTheThreeColours)
{
    EXPECT_EQ(ColorIndexFromTube(0x00FFFFFF), 0);
    EXPECT_EQ(ColorIndexFromTube(0x00CCAAFF), 1);
    EXPECT_EQ(ColorIndexFromTube(0x00FFCCAA), 2);
    for (const ColorRef other : {0x00000000u, 0x00FFAACCu, 0x01FFFFFFu, 0xFFCCAAFFu, 0x00FFFFFEu})
        EXPECT_EQ(ColorIndexFromTube(other), -1) << std::hex << other;
}

TEST(ColorTable, PositionToColourKeepsCurrentWhenNoneOrOutOfRange)
{
    const ColorRef current = 0x00123456;
    EXPECT_EQ(TubeFromColorIndex(0, current), vek::kColorWhite);
    EXPECT_EQ(TubeFromColorIndex(1, current), vek::kColorPink);
    EXPECT_EQ(TubeFromColorIndex(2, current), vek::kColorCyan);
    for (const int index : {-1, 3, -2, 1000})
        EXPECT_EQ(TubeFromColorIndex(index, current), current) << index;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ColorIndexFromTube(TubeFromColorIndex(i, current)), i);
}

TEST(ColorTableMaterial, BytesTimesSinglePrecisionReciprocalAlphaHalf)
{
    float rgba[4] = {};
    TubeMaterialColor(vek::kColorWhite, rgba);
    EXPECT_EQ(rgba[0], 1.0f);
    EXPECT_EQ(rgba[1], 1.0f);
    EXPECT_EQ(rgba[2], 1.0f);
    EXPECT_EQ(rgba[3], 0.5f);

    TubeMaterialColor(vek::kColorPink, rgba);  // red 255, green 170, blue 204
    EXPECT_EQ(rgba[0], 1.0f);
    EXPECT_FLOAT_EQ(rgba[1], 170.0f / 255.0f);
    EXPECT_FLOAT_EQ(rgba[2], 0.8f);

    TubeMaterialColor(0xAB000000u, rgba);  // the high byte is no colour
    EXPECT_EQ(rgba[0], 0.0f);
    EXPECT_EQ(rgba[1], 0.0f);
    EXPECT_EQ(rgba[2], 0.0f);
}

// A product with the rounded reciprocal is not always the correctly
// rounded quotient; the material uses the product.
TEST(ColorTableMaterial, UsesTheProductNotTheQuotient)
{
    const float k = 1.0f / 255.0f;
    int differing = 0;
    for (unsigned byte = 0; byte < 256; ++byte) {
        float rgba[4] = {};
        TubeMaterialColor(byte << 8, rgba);
        const volatile float b = static_cast<float>(byte);
        EXPECT_EQ(rgba[1], b * k) << byte;
        differing += rgba[1] != b / 255.0f;
    }
    EXPECT_GT(differing, 0);
}

}  // namespace
