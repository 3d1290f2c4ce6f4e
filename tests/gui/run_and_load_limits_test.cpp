// What the program says instead of doing something the user would not want:
// a file that gives no curve is not loaded, a Start that cannot run well is
// refused before it begins, a precision lowered during a run stops it at the
// next resampling. In every case the points stay exactly as they were.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/run_limits.h"
#include "gui_test_support.h"
#include "io/points_file.h"
#include "res/resource_ids.h"

namespace {

std::string ExamplePath(const char* name)
{
    return std::string(VEK_SOURCE_DIR) + "/examples/" + name;
}

// The curve's coordinates, for comparing bit for bit.
std::vector<double> Coordinates(const CCurveView& view)
{
    std::vector<double> out;
    for (int k = 0; k < view.PointCount(); ++k)
        out.insert(out.end(), {view.m_arrX[k], view.m_arrY[k], view.m_arrZ[k]});
    return out;
}

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.rfind(start, 0) == 0;
}

struct LoadCase {
    const char* name;
    std::string content;
    const char* reason;  // the start of the reason in the message
};

class NoCurveFileTest : public FrameTest, public ::testing::WithParamInterface<LoadCase> {};

// The sketch of five clicks stays, its state and precision too, the message
// says why, and a save afterwards writes the sketch, not an empty file.
TEST_P(NoCurveFileTest, KeepsTheSketchAndSaysSo)
{
    const LoadCase& c = GetParam();
    SetCurve(CirclePoints(5, 0.3));
    View().m_dPrecision = 2.0;
    const std::vector<double> before = Coordinates(View());
    const std::string path = TempPath("no-curve.txt");
    std::ofstream(path, std::ios::binary) << c.content;

    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(path)).ThenReturn(wxID_OK);
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(StartsWith(dialogs.shown[1].message, "位置データを読み込めませんでした。")) << dialogs.shown[1].message;
    EXPECT_NE(dialogs.shown[1].message.find(c.reason), std::string::npos) << dialogs.shown[1].message;
    EXPECT_EQ(Coordinates(View()), before);
    EXPECT_EQ(View().m_nState, Sketch);
    EXPECT_EQ(View().m_dPrecision, 2.0);

    const std::string saved = TempPath("after-no-curve.txt");
    ASSERT_TRUE(View().SavePointsTo(saved));
    CDoubleArray x, y, z;
    std::string error;
    ASSERT_TRUE(ReadPointsFile(saved, x, y, z, error)) << error;
    EXPECT_EQ(x.GetSize(), 5);
    std::remove(path.c_str());
    std::remove(saved.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoCurveFileTest,
    ::testing::Values(LoadCase{"empty", "", "点が読み取れませんでした"},
                      LoadCase{"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "点が読み取れませんでした"},
                      LoadCase{"a header line", "x y z\n0 0 0\n1 0 0\n0 1 0\n", "点が読み取れませんでした"},
                      LoadCase{"two points", "1 2 3 4 5 6\n", "読み取れた点は 2 点だけです（閉じた曲線には 3 点以上が必要です）"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct StartCase {
    const char* name;
    const char* file;  // an example, or null for `points`
    std::vector<std::array<double, 3>> points;
    double precision;
    const char* message;  // the start of the message
};

class RefusedStartTest : public FrameTest, public ::testing::WithParamInterface<StartCase> {};

// Refused before the run begins: no iteration, no drain, the state and the
// points as they were.
TEST_P(RefusedStartTest, SaysWhyAndChangesNothing)
{
    const StartCase& c = GetParam();
    if (c.file) {
        ScriptedDialogs none;
        ASSERT_TRUE(View().LoadPointsFrom(ExamplePath(c.file)));
    } else {
        SetCurve(c.points);
    }
    View().m_dPrecision = c.precision;
    const std::vector<double> before = Coordinates(View());
    int drains = 0;
    View().SetDrain([&] {
        ++drains;
        SendCommand(frame, ID_CALC_STOP);
    });
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    SendCommand(frame, ID_CALC_START);
    ASSERT_EQ(dialogs.shown.size(), 1u) << c.name;
    EXPECT_TRUE(StartsWith(dialogs.shown[0].message, c.message)) << c.name << ": " << dialogs.shown[0].message;
    EXPECT_EQ(drains, 0) << c.name;
    EXPECT_EQ(View().m_nState, Sketch) << c.name;
    EXPECT_EQ(Coordinates(View()), before) << c.name;
}

// A circle of radius 0.1 (length 0.628) gets about 963,000 points at
// precision 11,500: within the limit, but not within the margin for the
// growth of a run; at 15,000 the sketched trefoil is past the limit itself.
INSTANTIATE_TEST_SUITE_P(
    Starts, RefusedStartTest,
    ::testing::Values(
        StartCase{"empty sketch", nullptr, {}, 1.0, "計算する曲線がありません"},
        StartCase{"one point", nullptr, {{0.1, 0.1, 0.1}}, 1.0, "計算する曲線がありません"},
        StartCase{"trefoil at 0.3", "trefoil.txt", {}, 0.3,
                  "精度 0.3 では点の間隔が粗く、管が自分自身を通り抜けてしまうため、計算を始めませんでした。点はそのままです。\n精度を 0.5 以上に"},
        StartCase{"trefoil at 0.1", "trefoil.txt", {}, 0.1, "精度 0.1 では点の間隔が粗く"},
        StartCase{"precision 0", "trefoil.txt", {}, 0.0, "精度 0 では点の間隔が粗く"},
        StartCase{"circle at 11500", nullptr, CirclePoints(400, 0.1), 11500.0,
                  "精度 11500 ではこの曲線の点の数が上限（1000000 点）に近すぎるため、計算を始めませんでした"},
        StartCase{"trefoil at 15000", "trefoil.txt", {}, 15000.0, "精度 15000 ではこの曲線の点の数が上限"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

using LoweredPrecisionTest = FrameTest;

// The dialog takes any precision; one lowered below the guarded limit during
// a run stops it at the next resampling, before anything moves, with the
// points of the block just finished.
TEST_F(LoweredPrecisionTest, StopsTheRunAtTheNextResamplingAndKeepsItsPoints)
{
    {
        ScriptedDialogs none;
        ASSERT_TRUE(View().LoadPointsFrom(ExamplePath("trefoil.txt")));
    }
    std::vector<double> atDrain;
    int drains = 0;
    View().SetDrain([&] {
        if (++drains == 2) {
            View().m_dPrecision = 0.3;
            atDrain = Coordinates(View());
        }
    });
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(drains, 2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(StartsWith(dialogs.shown[0].message, "精度 0.3 では点の間隔が粗く、管が自分自身を通り抜けてしまうため、計算を中断しました。点はそのままです。"))
        << dialogs.shown[0].message;
    EXPECT_EQ(View().m_nState, Suspended);
    EXPECT_EQ(Coordinates(View()), atDrain);
}

}  // namespace
