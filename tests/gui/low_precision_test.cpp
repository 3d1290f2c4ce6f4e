// A curve so small for its spacing that the resampling would leave fewer than
// four points: Start says so and the run does not begin; the points stay. (A precision low enough to shrink an ordinary curve is
// refused before the run starts.)
#include <cmath>

#include "curve/constants.h"
#include "curve/resample_curve.h"
#include "gui_test_support.h"
#include "res/resource_ids.h"

struct SmallCurve {
    double radius;
    double precision;
};

class LowPrecisionTest : public FrameTest, public ::testing::WithParamInterface<SmallCurve> {};

TEST_P(LowPrecisionTest, TheRunStopsWithAMessageAndKeepsThePoints)
{
    SetCurve(CirclePoints(40, GetParam().radius));
    View().m_dPrecision = GetParam().precision;
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    SendCommand(frame, ID_CALC_START);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].message.rfind("点の数が 4 点より少なくなるため、計算を中断しました。", 0), 0u)
        << dialogs.shown[0].message;
    // Judged before the run begins: it does not start.
    EXPECT_EQ(View().m_nState, Sketch);
    ASSERT_GE(View().m_arrX.GetSize(), vek::kMinRunPoints);
    for (int k = 0; k < View().m_arrX.GetSize(); ++k)
        ASSERT_TRUE(std::isfinite(View().m_arrX[k]) && std::isfinite(View().m_arrY[k]) &&
                    std::isfinite(View().m_arrZ[k]));
    EXPECT_EQ(ResampleLimit(View().m_arrX, View().m_arrY, View().m_arrZ, vek::kThickness, GetParam().precision),
              RunLimit::TooFewPoints);
}

// Lengths 0.025 and 0.057 against the spacings 0.0075 and 0.015: three points.
INSTANTIATE_TEST_SUITE_P(Precisions, LowPrecisionTest, ::testing::Values(SmallCurve{0.004, 1.0}, SmallCurve{0.009, 0.5}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });
