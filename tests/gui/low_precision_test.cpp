// A precision so low that the resampling spacing exceeds the thickness: the
// curve shrinks at every resampling, and the run stops with a message before
// a resampling would leave fewer than four points; the points stay.
#include <cmath>

#include "curve/constants.h"
#include "curve/resample_curve.h"
#include "gui_test_support.h"
#include "res/resource_ids.h"

class LowPrecisionTest : public FrameTest, public ::testing::WithParamInterface<double> {};

TEST_P(LowPrecisionTest, TheRunStopsWithAMessageAndKeepsThePoints)
{
    // A circle of radius 0.05 (length 0.31): 41 points at precision 1.
    SetCurve(CirclePoints(40, 0.05));
    View().m_dPrecision = GetParam();
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    SendCommand(frame, ID_CALC_START);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].message.rfind("点の数が 4 点より少なくなるため、計算を中断しました。", 0), 0u)
        << dialogs.shown[0].message;
    EXPECT_EQ(View().m_nState, Suspended);
    ASSERT_GE(View().m_arrX.GetSize(), vek::kMinRunPoints);
    for (int k = 0; k < View().m_arrX.GetSize(); ++k)
        ASSERT_TRUE(std::isfinite(View().m_arrX[k]) && std::isfinite(View().m_arrY[k]) &&
                    std::isfinite(View().m_arrZ[k]));
    EXPECT_EQ(JudgeRunResample(View().m_arrX, View().m_arrY, View().m_arrZ, vek::kThickness, GetParam()),
              RunResample::TooFewPoints);
}

// 0.1 shrinks the curve over a few blocks; 0 and -1 act as 0.01, whose
// spacing 0.75 refuses the very first resampling.
INSTANTIATE_TEST_SUITE_P(Precisions, LowPrecisionTest, ::testing::Values(0.1, 0.0, -1.0),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });
