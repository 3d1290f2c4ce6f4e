// The status bar's figures, the knot table dialog, the ideal shape, the
// fitted view and the picture and shape files, through the real frame.
#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "curve/curve_metrics.h"
#include "curve/curve_polygon.h"
#include "app/status_text.h"
#include "dialogs/knot_table_dlg.h"
#include "gui_test_support.h"
#include "picture_compare.h"
#include "io/points_file.h"
#include "knot/polygon_thickness.h"
#include "res/resource_ids.h"

namespace {

std::string Example(const std::string& name)
{
    return std::string(VEK_SOURCE_DIR) + "/examples/" + name;
}

class StatusTest : public FrameTest {
protected:
    std::string Field(int field)
    {
        View().FlushStatus();
        return frame->GetStatusBar()->GetStatusText(field).utf8_string();
    }
    // The number after the field's label, NaN when there is none.
    double FieldNumber(int field)
    {
        const std::string text = Field(field);
        const size_t colon = text.find(": ");
        return colon == std::string::npos ? NAN : std::strtod(text.c_str() + colon + 2, nullptr);
    }
    // Runs the relaxation for `blocks` blocks of 30 iterations.
    void RunBlocks(int blocks)
    {
        int drains = 0;
        View().SetDrain([&] {
            if (++drains == blocks)
                SendCommand(frame, ID_CALC_STOP);
        });
        SendCommand(frame, ID_CALC_START);
        View().SetDrain(nullptr);
    }
};

}  // namespace

TEST_F(StatusTest, TellsTheKnotAndItsFiguresOfEachExampleAfterARunAndAfterReset)
{
    // Lower bounds: the ideal shapes' ropelengths (length / diameter) in
    // the published tables, and pi for the round circle.
    const struct {
        const char* file;
        const char* knot;
        double leastRopelength;
    } examples[] = {
        {"trefoil.txt", "3_1", 16.3}, {"figure-eight.txt", "4_1", 20.9},
        {"cinquefoil.txt", "5_1", 23.5}, {"circle.txt", "0_1", 3.14},
    };
    for (const auto& e : examples) {
        SCOPED_TRACE(e.file);
        ASSERT_TRUE(View().LoadPointsFrom(Example(e.file)));
        const std::string knot = Field(0);
        EXPECT_TRUE(knot == std::string("結び目: ") + e.knot || knot == std::string("結び目: ") + e.knot + "*") << knot;
        EXPECT_GE(FieldNumber(1), e.leastRopelength) << Field(1);
        EXPECT_NEAR(FieldNumber(2), CurveLength(View().m_arrX, View().m_arrY, View().m_arrZ) / 0.03, 1e-4) << Field(2);
        EXPECT_EQ(Field(3), "点: " + std::to_string(View().PointCount()));
        EXPECT_EQ(Field(4), "反復: 0");
    }

    ASSERT_TRUE(View().LoadPointsFrom(Example("trefoil.txt")));
    const std::string knot = Field(0);
    RunBlocks(20);
    EXPECT_EQ(Field(4), "反復: 600");
    EXPECT_EQ(Field(0), knot);
    EXPECT_EQ(Field(3), "点: " + std::to_string(View().PointCount()));
    EXPECT_GE(FieldNumber(1), 16.3) << Field(1);

    SendCommand(frame, ID_CALC_RESET);
    EXPECT_EQ(Field(0), "結び目: -");
    EXPECT_EQ(Field(1), "ロープ長: -");
    EXPECT_EQ(Field(2), "長さ/太さ: -");
    EXPECT_EQ(Field(3), "点: 0");
    EXPECT_EQ(Field(4), "反復: 0");
}

TEST_F(StatusTest, TheKnotTableOpensAKnotAndItsMirrorImage)
{
    for (bool mirror : {false, true}) {
        ScriptedDialogs dialogs;
        int listed = 0;
        dialogs.Then([&](wxDialog* shown) {
            auto* dialog = dynamic_cast<CKnotTableDlg*>(shown);
            if (!dialog)
                return static_cast<int>(wxID_CANCEL);
            dialog->Filter()->SetValue("8_1");  // 8_1, 8_10 ... 8_19
            listed = static_cast<int>(dialog->List()->GetCount()) - 1;  // less the one group
            dialog->Filter()->SetValue("8_19");
            dialog->Mirror()->SetValue(mirror);
            return dialog->TransferDataFromWindow() ? static_cast<int>(wxID_OK) : static_cast<int>(wxID_CANCEL);
        });
        SendCommand(frame, ID_FILE_OPEN_KNOT);
        EXPECT_EQ(dialogs.unexpected, 0);
        EXPECT_EQ(listed, 11);
        EXPECT_EQ(View().m_nState, Sketch);
        EXPECT_GT(View().PointCount(), 30);
        EXPECT_EQ(Field(0), mirror ? "結び目: 8_19*" : "結び目: 8_19");
    }
}

TEST_F(StatusTest, TheIdealShapeIsVekRelaxIdealOfTheSameCurve)
{
    const std::string out = TempPath("ideal_cli.txt");
    std::remove(out.c_str());
    const std::string summary = TempPath("ideal_cli.log");
    const std::string command = std::string("'") + VEK_RELAX + "' '" + Example("trefoil.txt") +
                                "' --ideal --vertices 40 --output '" + out + "' 2>'" + summary + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    CDoubleArray x, y, z;
    std::string error;
    ASSERT_TRUE(ReadPointsFile(out, x, y, z, error)) << error;

    ASSERT_TRUE(View().LoadPointsFrom(Example("trefoil.txt")));
    View().SetIdealVertices(40);
    SendCommand(frame, ID_CALC_IDEAL);
    EXPECT_TRUE(View().IsMakingIdeal());
    View().WaitForIdeal();
    ASSERT_EQ(View().PointCount(), x.GetSize());
    for (int k = 0; k < x.GetSize(); ++k) {
        ASSERT_EQ(View().m_arrX[k], x[k]) << k;
        ASSERT_EQ(View().m_arrY[k], y[k]) << k;
        ASSERT_EQ(View().m_arrZ[k], z[k]) << k;
    }
    EXPECT_EQ(View().m_nState, Suspended);
    EXPECT_GT(View().m_arrTubeX.GetSize(), 0) << "the view shows its tube";
    std::ifstream log(summary);
    std::string line, ropelength;
    while (std::getline(log, line))
        if (line.rfind("certified ropelength", 0) == 0)
            ropelength = line.substr(line.rfind(' ') + 1);
    EXPECT_EQ(Field(1), "ロープ長: " + ropelength);
    EXPECT_EQ(Field(0), "結び目: 3_1");
}

TEST_F(StatusTest, StopEndsTheIdealShapeWithACertifiedPolygonAndCloseAsksMeanwhile)
{
    ASSERT_TRUE(View().LoadPointsFrom(Example("trefoil.txt")));
    const std::string knot = Field(0);
    SendCommand(frame, ID_CALC_IDEAL);
    // The optimiser reports its level in the iterations field and the
    // ropelength it has certified in the ropelength field.
    for (int round = 0; round < 600 && Field(4) != "理想形: 段階 1"; ++round)
        PumpEvents(50);
    ASSERT_EQ(Field(4), "理想形: 段階 1");
    EXPECT_EQ(Field(1).rfind("ロープ長: ", 0), 0u) << Field(1);
    EXPECT_NE(Field(1), "ロープ長: -");
    {
        ScriptedDialogs dialogs;
        dialogs.ThenReturn(wxID_OK);
        frame->Close();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].message.rfind("計算中です", 0), 0u);
        EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
    }
    SendCommand(frame, ID_CALC_STOP);
    View().WaitForIdeal();
    EXPECT_FALSE(View().IsMakingIdeal());
    EXPECT_EQ(View().m_nState, Suspended);
    const double certified =
        vek::ComputePolygonThickness(CurvePolygon(View().m_arrX, View().m_arrY, View().m_arrZ)).thickness;
    EXPECT_GE(2.0 * certified, 0.03 * (1.0 - 1e-12));
    EXPECT_EQ(Field(0), knot);
    EXPECT_EQ(Field(4), "反復: 0");
}

namespace {

// The share of the width and of the height that lit pixels span (rows from
// the bottom, RGB).
std::pair<double, double> LitSpan(const std::vector<uint8_t>& rgb, int width, int height)
{
    int left = width, right = -1, bottom = height, top = -1;
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const uint8_t* p = &rgb[(static_cast<size_t>(row) * width + col) * 3];
            if (p[0] || p[1] || p[2]) {
                left = std::min(left, col);
                right = std::max(right, col);
                bottom = std::min(bottom, row);
                top = std::max(top, row);
            }
        }
    if (right < 0)
        return {0.0, 0.0};
    return {double(right - left + 1) / width, double(top - bottom + 1) / height};
}

// Every edge of the binary STL's triangles (vertices welded where equal)
// has exactly one triangle on each side: the mesh is closed and oriented.
bool StlIsWatertight(const std::string& path, size_t& triangles)
{
    std::ifstream in(path, std::ios::binary);
    char header[80];
    uint32_t count = 0;
    in.read(header, 80);
    in.read(reinterpret_cast<char*>(&count), 4);
    triangles = count;
    std::map<std::array<float, 3>, int> ids;
    std::map<std::pair<int, int>, int> edges;  // directed edge -> uses
    for (uint32_t t = 0; t < count && in; ++t) {
        float v[12];
        uint16_t attribute = 0;
        in.read(reinterpret_cast<char*>(v), sizeof v);
        in.read(reinterpret_cast<char*>(&attribute), 2);
        int corner[3];
        for (int c = 0; c < 3; ++c)
            corner[c] = ids.emplace(std::array<float, 3>{v[3 + 3 * c], v[4 + 3 * c], v[5 + 3 * c]}, int(ids.size()))
                            .first->second;
        for (int c = 0; c < 3; ++c)
            ++edges[{corner[c], corner[(c + 1) % 3]}];
    }
    if (!in || count == 0)
        return false;
    for (const auto& [edge, uses] : edges)
        if (uses != 1 || edges.count({edge.second, edge.first}) == 0 || edges.at({edge.second, edge.first}) != 1)
            return false;
    return true;
}

}  // namespace

TEST_F(StatusTest, FitFillsTheViewAndThePictureFileIsTheView)
{
    ASSERT_TRUE(View().LoadPointsFrom(Example("trefoil.txt")));
    View().BuildTube();
    View().m_nState = Suspended;
    int width = 0, height = 0;
    const std::vector<uint8_t> start = Probe().Picture(width, height);
    ASSERT_FALSE(start.empty());
    const auto [startX, startY] = LitSpan(start, width, height);
    SendCommand(frame, ID_VIEW_FIT);
    const std::vector<uint8_t> fitted = Probe().Picture(width, height);
    const auto [fitX, fitY] = LitSpan(fitted, width, height);
    EXPECT_GT(std::max(fitX, fitY), std::max(startX, startY));
    EXPECT_NEAR(std::max(fitX, fitY), 0.92, 0.03) << fitX << " x " << fitY;

    const std::string png = TempPath("view.png");
    std::remove(png.c_str());
    ASSERT_TRUE(View().SavePictureTo(png));
    int savedWidth = 0, savedHeight = 0;
    const std::vector<uint8_t> saved = ReadPng(png, savedWidth, savedHeight);
    ASSERT_EQ(savedWidth, width);
    ASSERT_EQ(savedHeight, height);
    EXPECT_TRUE(SameRendering(ComparePictures(saved, FlipRows(fitted, width, height), width, height, 2), width,
                              height));

    const std::string stl = TempPath("tube.stl");
    std::remove(stl.c_str());
    ASSERT_TRUE(View().SaveShapeTo(stl));
    size_t triangles = 0;
    EXPECT_TRUE(StlIsWatertight(stl, triangles));
    EXPECT_EQ(triangles, 2u * 30u * static_cast<size_t>(View().PointCount()));
}

TEST_F(StatusTest, EveryFigureFieldHoldsItsWidestText)
{
    // A fine curve's six-digit ropelength and a million points were cut to
    // "36443...." and "点: 67..." in bars shared out by proportion.
    wxStatusBar* bar = frame->GetStatusBar();
    const StatusTexts widest = WidestStatusTexts();
    for (int field = kFieldRopelength; field < kStatusFieldCount; ++field) {
        wxRect rect;
        ASSERT_TRUE(bar->GetFieldRect(field, rect));
        // The last field's text is drawn beside the size grip, a square of
        // the bar's height.
        const int grip = field == kStatusFieldCount - 1 && bar->HasFlag(wxSTB_SIZEGRIP) ? bar->GetClientSize().y : 0;
        EXPECT_GE(rect.width - grip, bar->GetTextExtent(wxString::FromUTF8(widest[field])).GetWidth())
            << widest[field];
    }
    // At the program's own first size (3/5 of this 1280-pixel screen), the
    // knot field has room for a list of two candidates.
    frame->SetSize(768, 768);
    PumpEvents(100);
    wxRect knot;
    ASSERT_TRUE(bar->GetFieldRect(kFieldKnot, knot));
    EXPECT_GE(knot.width, bar->GetTextExtent(wxString::FromUTF8("結び目: 10_25 / 10_56")).GetWidth());
}

TEST_F(StatusTest, TheShapeFileHasTheFormatChosenInTheDialog)
{
    // A name typed without extension takes the chosen file type's; a typed
    // .obj or .ply is kept whatever type is chosen.
    struct Case {
        const char* typed;
        int filterIndex;
        const char* written;
        const char* head;  // how the file starts
    };
    const Case cases[] = {
        {"plain", 0, "plain.stl", "Vek tube, binary STL"}, {"plain", 1, "plain.obj", "# Vek tube:"},
        {"plain", 2, "plain.ply", "ply\n"},                {"typed.obj", 0, "typed.obj", "# Vek tube:"},
        {"typed.ply", 0, "typed.ply", "ply\n"},
    };
    ASSERT_TRUE(View().LoadPointsFrom(Example("trefoil.txt")));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " / type " + std::to_string(c.filterIndex));
        const std::string folder = TempPath("shape-" + std::to_string(c.filterIndex) + c.typed);
        std::filesystem::create_directories(folder);
        ScriptedDialogs dialogs;
        dialogs.Then([&](wxDialog* dialog) {
            auto* files = dynamic_cast<wxFileDialog*>(dialog);
            if (files == nullptr)
                return static_cast<int>(wxID_CANCEL);
            files->SetFilterIndex(c.filterIndex);
            PumpEvents(50);
            return ChooseFile(folder + "/" + c.typed)(dialog);
        });
        SendCommand(frame, ID_FILE_SAVE_SHAPE);
        EXPECT_EQ(dialogs.unexpected, 0);
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        ASSERT_EQ(names, std::vector<std::string>{c.written});
        std::ifstream in(folder + "/" + c.written, std::ios::binary);
        std::string head(std::strlen(c.head), '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        EXPECT_EQ(head, c.head);
    }
}
