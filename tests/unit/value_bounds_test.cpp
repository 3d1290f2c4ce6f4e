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
    // A count too large to count is not shown as one.
    EXPECT_EQ(PrecisionRefusal(1e-300, std::numeric_limits<long long>::max()),
              "この精度では点の数が多すぎます（上限 1000000 点をはるかに超えます）。\n"
              "もっと小さい値を入力してください。");
    EXPECT_EQ(PrecisionRefusal(1e-300, std::numeric_limits<long long>::max() - 1),
              "この精度では点の数が多すぎます（9223372036854775806 点、上限 1000000 点）。\n"
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

// The view's bound: the magnitude within 0.1 ... 50, so that a tube shows.
TEST(ValueBounds, ViewTubeScaleRefusalKeepsTheTubeVisible)
{
    const std::string refusal = "太さには絶対値が 0.1 から 50 までの数を入力してください。\n"
                                "（0 に近いと管が細すぎて見えず、50 を超えると管が画面を覆います。）";
    for (double scale : {0.1, -0.1, 1.0, 50.0, -50.0})
        EXPECT_EQ(ViewTubeScaleRefusal(scale), "") << scale;
    for (double scale : {0.0, -0.0, std::nextafter(0.1, 0.0), std::nextafter(50.0, kInf), 1.0e6, kInf, std::nan("")})
        EXPECT_EQ(ViewTubeScaleRefusal(scale), refusal) << scale;
}

}  // namespace
