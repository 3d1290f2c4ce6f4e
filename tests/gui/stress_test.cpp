// Stress: the real frame and view under many fast commands during runs,
// large sketches and files, and hostile coordinates. Whatever happens, the
// program must not crash or hang, no coordinate may become infinite or NaN,
// and every saved file must read back to the points the view held.
// Each test bounds its own work (drains, points) to stay quick under the
// sanitizers too.
#include <wx/filedlg.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/resample_curve.h"
#include "dialogs/number_exchange.h"
#include "dialogs/value_bounds.h"
#include "gui_test_support.h"
#include "res/resource_ids.h"
#include "io/points_file.h"

namespace {

using Points = std::vector<std::array<double, 3>>;

std::string ExamplePath(const std::string& name)
{
    return std::string(VEK_SOURCE_DIR) + "/examples/" + name;
}

// Types `text` into a settings dialog and presses OK; a refused text (its
// message box goes unanswered) ends the dialog with Cancel.
ScriptedDialogs::Answer TypeValue(const std::string& text, bool* accepted = nullptr)
{
    return [text, accepted](wxDialog* dialog) {
        dialog->TransferDataToWindow();
        XRCCTRL(*dialog, "IDC_VALUE_EDIT", wxTextCtrl)->SetValue(wxString::FromUTF8(text));
        const bool ok = dialog->TransferDataFromWindow();
        if (accepted)
            *accepted = ok;
        return ok ? wxID_OK : wxID_CANCEL;
    };
}

Points CurveOf(const CCurveView& view)
{
    Points points;
    for (int i = 0; i < view.PointCount(); ++i)
        points.push_back({view.m_arrX[i], view.m_arrY[i], view.m_arrZ[i]});
    return points;
}

// The points as a save rounds them: what a saved file must read back to.
Points SavedFormOf(const CCurveView& view)
{
    CDoubleArray x, y, z;
    ParsePointsText(FormatPointsText(view.m_arrX, view.m_arrY, view.m_arrZ), x, y, z);
    Points points;
    for (int i = 0; i < x.GetSize(); ++i)
        points.push_back({x[i], y[i], z[i]});
    return points;
}

Points ReadFile(const std::string& path)
{
    CDoubleArray x, y, z;
    std::string error;
    EXPECT_TRUE(ReadPointsFile(path, x, y, z, error)) << error;
    Points points;
    for (int i = 0; i < x.GetSize(); ++i)
        points.push_back({x[i], y[i], z[i]});
    return points;
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string TextOf(const Points& points)
{
    CDoubleArray x, y, z;
    for (const auto& p : points) {
        x.Add(p[0]);
        y.Add(p[1]);
        z.Add(p[2]);
    }
    return FormatPointsText(x, y, z);
}

bool AllFinite(const CDoubleArray& a)
{
    for (int i = 0; i < a.GetSize(); ++i)
        if (!std::isfinite(a[i]))
            return false;
    return true;
}

// Every coordinate of the curve and the tube is finite.
void ExpectFinite(const CCurveView& view)
{
    EXPECT_EQ(view.m_arrX.GetSize(), view.m_arrY.GetSize());
    EXPECT_EQ(view.m_arrX.GetSize(), view.m_arrZ.GetSize());
    EXPECT_TRUE(AllFinite(view.m_arrX) && AllFinite(view.m_arrY) && AllFinite(view.m_arrZ));
    EXPECT_TRUE(AllFinite(view.m_arrTubeX) && AllFinite(view.m_arrTubeY) && AllFinite(view.m_arrTubeZ));
}

// Paints what the view shows now; the picture must come out whole.
void ExpectPaints(ViewProbe& probe)
{
    int w = 0, h = 0;
    const std::vector<uint8_t> rgb = probe.Picture(w, h);
    ASSERT_GT(w, 0);
    EXPECT_EQ(rgb.size(), static_cast<size_t>(w) * h * 3);
}

bool Closed(wxWindow* frame)
{
    return wxTheApp->IsScheduledForDestruction(frame);
}

// The texts of every message the program may show in these tests.
const std::set<std::string>& KnownMessages()
{
    static const std::set<std::string> texts = {
        "計算中です\n「計算」メニューの「中断」で計算を止めてから閉じてください。",
        "数字を入力してください。",
        "精度には有限の数を入力してください。",
        "太さには絶対値が 0.1 から 50 までの数を入力してください。\n"
        "（0 に近いと管が細すぎて見えず、50 を超えると管が画面を覆います。）",
        "計算する曲線がありません（点がないか、曲線が短すぎます）。\nスケッチに点を打ってから開始してください。",
    };
    return texts;
}

bool IsKnownMessage(const std::string& text)
{
    return KnownMessages().count(text) != 0 || text.find("点の数が多すぎます") != std::string::npos ||
           text.find("点の数が上限") != std::string::npos ||
           text.find("点より少なくなるため") != std::string::npos ||
           text.find("では点の間隔が粗く") != std::string::npos;
}

}  // namespace

using StressTest = FrameTest;

// Hundreds of drains, each running a command picked at random: Stop, Reset,
// Load, a nested Start, Save, both settings dialogs with values at and
// beyond their limits, a close request, a drag, a paint. After Stop, Reset
// or Load the run is started again from outside. At the end a Stop and a
// close arrive in the same drain, with runs still on the stack.
TEST_F(StressTest, RandomCommandsAtEveryDrainOfNestedRuns)
{
    const std::vector<std::string> files = {ExamplePath("trefoil.txt"), ExamplePath("figure-eight.txt"),
                                            ExamplePath("circle.txt")};
    const std::vector<std::string> precisions = {"1", "0.5", "2", "1.5", "0", "-3", "1e300", "1e999", "nan", "x"};
    const std::vector<std::string> factors = {"1", "1000000", "-1000000", "1e6", "1000000.001", "-1e7", "0", "1e999"};
    const std::string saved = TempPath("storm.txt");
    constexpr int kDrains = 400;
    constexpr int kMaxDepth = 6;

    std::mt19937 rng(20240607);
    ScriptedDialogs dialogs;
    int drains = 0, saves = 0, loads = 0, settings = 0, closeRequests = 0, startsFromOutside = 0;
    int maxDepth = 0;
    bool finiteAtEveryDrain = true;
    View().SetDrain([&] {
        ++drains;
        maxDepth = std::max(maxDepth, View().RunDepth());
        finiteAtEveryDrain = finiteAtEveryDrain && AllFinite(View().m_arrX) && AllFinite(View().m_arrY) &&
                             AllFinite(View().m_arrZ);
        if (drains == kDrains) {
            // Stop and close in one drain: the window goes when the runs end.
            SendCommand(frame, ID_CALC_STOP);
            frame->Close();
            EXPECT_FALSE(frame->IsShown());
            return;
        }
        switch (rng() % 12) {
        case 0: SendCommand(frame, ID_CALC_STOP); break;
        case 1: SendCommand(frame, ID_CALC_RESET); break;
        case 2:
            ++loads;
            dialogs.Then(ChooseFile(files[rng() % files.size()]));
            SendCommand(frame, ID_FILE_LOAD_POINTS);
            break;
        case 3:
            if (View().RunDepth() < kMaxDepth)
                SendCommand(frame, ID_CALC_START);
            break;
        case 4: {
            ++saves;
            // A new file each time: saving over an earlier one asks first.
            const std::string target = saved + "." + std::to_string(saves) + ".txt";
            dialogs.Then(ChooseFile(target));
            const Points shown = SavedFormOf(View());
            SendCommand(frame, ID_FILE_SAVE_POINTS);
            EXPECT_EQ(ReadFile(target), shown) << "save at drain " << drains;
            break;
        }
        case 5:
            ++settings;
            dialogs.Then(TypeValue(precisions[rng() % precisions.size()]));
            SendCommand(frame, ID_SETTINGS_PRECISION);
            break;
        case 6:
            ++settings;
            dialogs.Then(TypeValue(factors[rng() % factors.size()]));
            SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
            break;
        case 7:
            if (View().m_nState == Running) {
                ++closeRequests;
                frame->Close();  // refused with a message
                EXPECT_FALSE(Closed(frame));
            }
            break;
        case 8:
            SendMouse(View(), wxEVT_LEFT_DOWN, 100, 100);
            SendMouse(View(), wxEVT_MOTION, 140, 90);
            SendMouse(View(), wxEVT_LEFT_UP, 140, 90);
            break;
        case 9: ExpectPaints(Probe()); break;
        default: PumpEvents(1); break;
        }
        EXPECT_LE(View().m_dTubeScale, vek::kMaxTubeScale);
        EXPECT_GE(View().m_dTubeScale, -vek::kMaxTubeScale);
        EXPECT_TRUE(std::isfinite(View().m_dPrecision));
    });
    while (drains < kDrains) {
        ++startsFromOutside;
        const int drainsBefore = drains;
        SendCommand(frame, ID_CALC_START);
        ASSERT_EQ(View().RunDepth(), 0);
        // A precision too low to hold the curve up, or a curve cleared by
        // Reset, refuses the Start with a message; the user then raises the
        // precision or loads a curve, as the message asks.
        if (drains == drainsBefore) {
            View().m_dPrecision = 1.0;
            if (View().PointCount() == 0) {
                ASSERT_TRUE(View().LoadPointsFrom(files[0]));
            }
        }
    }
    EXPECT_EQ(drains, kDrains);
    EXPECT_TRUE(finiteAtEveryDrain);
    ExpectFinite(View());
    EXPECT_TRUE(Closed(frame));
    frame = nullptr;

    // Each kind of command came up many times, nested runs included.
    EXPECT_GT(saves, 15);
    EXPECT_GT(loads, 15);
    EXPECT_GT(settings, 30);
    EXPECT_GT(closeRequests, 10);
    EXPECT_GT(startsFromOutside, 10);
    EXPECT_GE(maxDepth, 3);
    int fileDialogs = 0, messages = 0;
    for (const auto& s : dialogs.shown) {
        if (s.kind == "file")
            ++fileDialogs;
        else if (s.kind == "message") {
            ++messages;
            EXPECT_TRUE(IsKnownMessage(s.message)) << s.message;
        }
    }
    EXPECT_EQ(fileDialogs, saves + loads);
    // Only the messages went unanswered (refusals and the busy message).
    EXPECT_EQ(dialogs.unexpected, messages);
    EXPECT_GE(messages, closeRequests);
}

// Close requests at every drain of a run are all refused; right after Stop
// one closes the window at once, without a question.
TEST_F(StressTest, CloseRequestsDuringARunAndRightAfterStop)
{
    SetCurve(CirclePoints(40, 0.3));
    ScriptedDialogs dialogs;
    int drains = 0;
    View().SetDrain([&] {
        if (++drains <= 25) {
            frame->Close();
            frame->Close();
            EXPECT_FALSE(Closed(frame));
        } else {
            SendCommand(frame, ID_CALC_STOP);
        }
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(dialogs.shown.size(), 50u);
    for (const auto& s : dialogs.shown)
        EXPECT_EQ(s.message, "計算中です\n「計算」メニューの「中断」で計算を止めてから閉じてください。");
    EXPECT_FALSE(Closed(frame));
    ExpectFinite(View());
    frame->Close();
    EXPECT_TRUE(Closed(frame));
    EXPECT_EQ(dialogs.shown.size(), 50u);
    frame = nullptr;
}

// 10,000 clicks at scattered pixels with the wheel turned in between: every
// click is a point, the sketch paints, and the saved file loads back to the
// points as saved.
TEST_F(StressTest, TenThousandClickedPointsPaintSaveAndLoadBack)
{
    const wxSize size = View().GetClientSize();
    std::mt19937 rng(7);
    for (int i = 0; i < 10000; ++i) {
        if (i % 50 == 0)
            SendMouse(View(), wxEVT_MOUSEWHEEL, 10, 10, (static_cast<int>(rng() % 9) - 4) * 120);
        SendMouse(View(), wxEVT_LEFT_DOWN, static_cast<int>(rng() % size.x), static_cast<int>(rng() % size.y));
        SendMouse(View(), wxEVT_LEFT_UP, 0, 0);
    }
    ASSERT_EQ(View().PointCount(), 10000);
    ExpectFinite(View());
    PumpEvents(50);
    ExpectPaints(Probe());

    const Points shown = SavedFormOf(View());
    const std::string path = TempPath("ten-thousand.txt");
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(path)).Then(ChooseFile(path));
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    EXPECT_EQ(std::filesystem::file_size(path), 10000u * 52);
    SendCommand(frame, ID_CALC_RESET);
    ASSERT_EQ(View().PointCount(), 0);
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    EXPECT_EQ(CurveOf(View()), shown);
    EXPECT_EQ(dialogs.unexpected, 0);
}

// A file of 100,000 points: it loads whole and paints. Laid along a short
// circle it resamples to a few hundred points and runs; laid as a long
// zigzag it would resample to millions, so Start refuses with a message and
// leaves the points as they were.
TEST_F(StressTest, AFileOfOneHundredThousandPoints)
{
    Points circle, zigzag;
    for (int i = 0; i < 100000; ++i) {
        const double angle = 2.0 * M_PI * i / 100000;
        circle.push_back({0.3 * std::cos(angle), 0.3 * std::sin(angle), -0.05 * std::sin(3 * angle)});
        zigzag.push_back({i % 2 ? 0.5 : -0.5, -0.4 + 0.8 * i / 100000, 0.1});
    }
    const std::string circlePath = TempPath("circle-100000.txt");
    const std::string zigzagPath = TempPath("zigzag-100000.txt");
    WriteText(circlePath, TextOf(circle));
    WriteText(zigzagPath, TextOf(zigzag));

    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(zigzagPath));
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    ASSERT_EQ(View().PointCount(), 100000);
    EXPECT_EQ(CurveOf(View()), ReadFile(zigzagPath));
    ExpectPaints(Probe());
    SendCommand(frame, ID_CALC_START);  // the refusal's message goes unanswered
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].message.find("点の数が上限"), std::string::npos) << dialogs.shown[1].message;
    EXPECT_EQ(View().m_nState, Sketch);  // refused before the run began
    EXPECT_EQ(View().RunDepth(), 0);
    EXPECT_EQ(CurveOf(View()), ReadFile(zigzagPath));
    ExpectPaints(Probe());

    // The precision that would give it a million points is refused too.
    dialogs.Then(TypeValue("1"));
    SendCommand(frame, ID_SETTINGS_PRECISION);
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_NE(dialogs.shown[3].message.find("点の数が多すぎます"), std::string::npos) << dialogs.shown[3].message;
    EXPECT_EQ(View().m_dPrecision, 1.0);

    dialogs.Then(ChooseFile(circlePath));
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    ASSERT_EQ(View().PointCount(), 100000);
    int drains = 0;
    View().SetDrain([&] {
        if (++drains == 3)
            SendCommand(frame, ID_CALC_STOP);
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(drains, 3);
    EXPECT_GT(View().PointCount(), 200);
    EXPECT_LT(View().PointCount(), 300);
    ExpectFinite(View());
    ExpectPaints(Probe());

    const Points shown = SavedFormOf(View());
    const std::string saved = TempPath("circle-relaxed.txt");
    dialogs.Then(ChooseFile(saved));
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    EXPECT_EQ(ReadFile(saved), shown);
    EXPECT_EQ(dialogs.unexpected, 2);  // the two refusals' messages
}

struct HostileCurve {
    const char* name;
    std::string text;
    // What Start does with it: runs (the curve keeps points), runs on an
    // empty curve (resampling leaves no point), or refuses (message).
    enum { Runs, RunsEmpty, Refused, Collapses } start;
};

void PrintTo(const HostileCurve& c, std::ostream* os) { *os << c.name; }

class HostileCurveTest : public FrameTest, public ::testing::WithParamInterface<HostileCurve> {};

// Extreme and degenerate curves from a file: load, paint, Start (and Stop
// at the third drain), paint the tube, save and read back.
TEST_P(HostileCurveTest, LoadPaintRunSaveStaySound)
{
    const HostileCurve& c = GetParam();
    const std::string path = TempPath(std::string("hostile-") + c.name + ".txt");
    WriteText(path, c.text);

    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(path));
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    const Points loaded = CurveOf(View());
    ASSERT_FALSE(loaded.empty());
    ExpectFinite(View());
    ExpectPaints(Probe());

    int drains = 0;
    View().SetDrain([&] {
        if (++drains == 3)
            SendCommand(frame, ID_CALC_STOP);
    });
    SendCommand(frame, ID_CALC_START);
    // Only a curve that runs leaves the sketch: the others are refused
    // before the run begins.
    EXPECT_EQ(View().m_nState, c.start == HostileCurve::Runs ? Suspended : Sketch);
    ExpectFinite(View());
    switch (c.start) {
    case HostileCurve::Refused:
        EXPECT_EQ(drains, 0);
        EXPECT_EQ(CurveOf(View()), loaded);
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_NE(dialogs.shown[1].message.find("点の数が上限"), std::string::npos) << dialogs.shown[1].message;
        break;
    case HostileCurve::Collapses:
        EXPECT_EQ(drains, 0);
        EXPECT_EQ(CurveOf(View()), loaded);
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_NE(dialogs.shown[1].message.find("点より少なくなる"), std::string::npos) << dialogs.shown[1].message;
        break;
    case HostileCurve::RunsEmpty:
        // Nothing to relax: Start says so and keeps the points.
        EXPECT_EQ(drains, 0);
        EXPECT_EQ(CurveOf(View()), loaded);
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_NE(dialogs.shown[1].message.find("計算する曲線がありません"), std::string::npos) << dialogs.shown[1].message;
        break;
    case HostileCurve::Runs:
        EXPECT_EQ(drains, 3);
        EXPECT_GT(View().PointCount(), 3);
        break;
    }
    ExpectPaints(Probe());
    // The tube at the largest display factor the dialog takes.
    dialogs.Then(TypeValue("-50"));
    SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
    EXPECT_EQ(View().m_dTubeScale, -50.0);
    ExpectFinite(View());
    ExpectPaints(Probe());

    const Points shown = SavedFormOf(View());
    const std::string saved = TempPath(std::string("hostile-saved-") + c.name + ".txt");
    dialogs.Then(ChooseFile(saved));
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    EXPECT_EQ(ReadFile(saved), shown);
}

std::string Circle(double radius, int count, double depth)
{
    Points points;
    for (int i = 0; i < count; ++i) {
        const double angle = 2.0 * M_PI * i / count;
        points.push_back({radius * std::cos(angle), radius * std::sin(angle), depth - 0.3 * (i % 3)});
    }
    return TextOf(points);
}

std::string Repeated(const std::string& line, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileCurveTest,
    ::testing::Values(
        // Segment lengths overflow: nothing to resample along.
        HostileCurve{"huge", "1e300 0 -1 -1e300 0 -2 0 1e300 -0.5", HostileCurve::Refused},
        HostileCurve{"huge_negative_depths", "1e300 1e300 -1e300 -1e300 -1e300 -1e300 1 2 -3", HostileCurve::Refused},
        // Finite length, but far too many points.
        HostileCurve{"far_larger_than_any_view", Circle(1e100, 12, -1), HostileCurve::Refused},
        HostileCurve{"larger_than_the_limit", Circle(1500, 40, 0), HostileCurve::Refused},
        // Shorter than one spacing: the curve resamples to nothing.
        HostileCurve{"tiny", "1e-300 0 -1 0 1e-300 -1 -1e-300 0 -1", HostileCurve::RunsEmpty},
        // Fifty copies of one point would resample to nothing: kept instead.
        HostileCurve{"one_repeated_point", Repeated("0.1 0.2 -0.3\n", 50), HostileCurve::RunsEmpty},
        // A file of one point is not loaded (no closed curve); one point
        // three times is, and resamples to nothing.
        HostileCurve{"single_point", "5 5 5 5 5 5 5 5 5", HostileCurve::RunsEmpty},
        // Larger than the view, deep below the sketch plane: runs.
        HostileCurve{"larger_than_the_view", Circle(1.5, 24, -2), HostileCurve::Runs},
        HostileCurve{"negative_depths", Circle(0.3, 30, -5), HostileCurve::Runs}),
    [](const ::testing::TestParamInfo<HostileCurve>& info) { return std::string(info.param.name); });

// The settings at the edges of what the dialogs take: the largest display
// factors are stored and drawn; one step beyond is refused; a precision just
// within the point limit is taken, twice it is refused; a precision that is
// not finite is refused whatever the curve.
TEST_F(StressTest, SettingsAtTheLimitsOfTheDialogs)
{
    SetCurve(CirclePoints(60, 0.3));
    ScriptedDialogs dialogs;
    bool accepted = false;
    // The display factor: magnitudes 0.1 ... 50, so that a tube shows.
    for (const char* text : {"50", "-50", "0.1", "-0.1"}) {
        dialogs.Then(TypeValue(text, &accepted));
        SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
        EXPECT_TRUE(accepted) << text;
        ExpectFinite(View());
    }
    for (const char* text : {"50.0000001", "0.0999999", "0", "1000000", "-1e7", "1e999", "-1e999"}) {
        dialogs.Then(TypeValue(text, &accepted));
        SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
        EXPECT_FALSE(accepted) << text;
    }
    EXPECT_EQ(View().m_dTubeScale, -0.1);

    // The largest precision (found by halving) whose resampling stays within
    // the limit for this curve.
    double low = 1.0, high = 1e9;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (low + high);
        (ResampleCount(View().m_arrX, View().m_arrY, View().m_arrZ, View().m_dThickness, mid) <= vek::kMaxCurvePoints
             ? low
             : high) = mid;
    }
    // Shown with 15 digits, which may round up: a hair below the limit.
    const std::string within = FormatDialogNumber(low * (1.0 - 1e-9));
    dialogs.Then(TypeValue(within, &accepted));
    SendCommand(frame, ID_SETTINGS_PRECISION);
    EXPECT_TRUE(accepted) << within;
    dialogs.Then(TypeValue(std::to_string(2 * low), &accepted));
    SendCommand(frame, ID_SETTINGS_PRECISION);
    EXPECT_FALSE(accepted);
    for (const char* text : {"1e999", "-1e999"}) {
        dialogs.Then(TypeValue(text, &accepted));
        SendCommand(frame, ID_SETTINGS_PRECISION);
        EXPECT_FALSE(accepted) << text;
    }
    // An empty curve takes any finite precision; Start on a sketch that then
    // grows too long for it stops with a message.
    SendCommand(frame, ID_CALC_RESET);
    dialogs.Then(TypeValue("1e300", &accepted));
    SendCommand(frame, ID_SETTINGS_PRECISION);
    EXPECT_TRUE(accepted);
    SetCurve(CirclePoints(8, 0.3));
    const size_t before = dialogs.shown.size();
    SendCommand(frame, ID_CALC_START);
    ASSERT_EQ(dialogs.shown.size(), before + 1);
    EXPECT_NE(dialogs.shown.back().message.find("点の数が上限"), std::string::npos);
    EXPECT_EQ(View().PointCount(), 8);
    EXPECT_EQ(View().m_nState, Sketch);  // refused before the run began
}
