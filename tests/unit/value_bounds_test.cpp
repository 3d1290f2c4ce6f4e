#include "dialogs/value_bounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The refusals are shown as they come back; the expected bytes are written out
// here so that a change of wording or of number formatting shows.
TEST(ValueBounds, PrecisionRefusalsNameTheReasonAndTheCounts)
{
    EXPECT_EQ(PrecisionRefusal(1.0, 1000000), "");
    EXPECT_EQ(PrecisionRefusal(-3.0, 0), "");
    EXPECT_EQ(PrecisionRefusal(std::nan(""), 10), "精度には有限の数を入力してください。");
    EXPECT_EQ(PrecisionRefusal(kInf, 10), "精度には有限の数を入力してください。");
    EXPECT_EQ(PrecisionRefusal(1e-9, 1000001),
              "この精度では点の数が多すぎます（1000001 点、上限 1000000 点）。\nもっと小さい値を入力してください。");
    EXPECT_EQ(PrecisionRefusal(1e-300, std::numeric_limits<long long>::max()),
              "この精度では点の数が多すぎます（9223372036854775807 点、上限 1000000 点）。\n"
              "もっと小さい値を入力してください。");
}

TEST(ValueBounds, TubeScaleRefusalAtTheEdgesOfTheRange)
{
    const std::string refusal = "太さには -1000000 から 1000000 までの数を入力してください。";
    for (double scale : {0.0, -1.0e6, 1.0e6, 2.5})
        EXPECT_EQ(TubeScaleRefusal(scale), "") << scale;
    for (double scale : {std::nextafter(1.0e6, kInf), -2.0e6, kInf, -kInf, std::nan("")})
        EXPECT_EQ(TubeScaleRefusal(scale), refusal) << scale;
}

}  // namespace
