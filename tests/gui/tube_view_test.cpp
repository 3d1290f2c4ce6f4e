// The 3D view: the lit tube, its colour, and the drawing paths.
#include <set>
#include <vector>

#include "curve/constants.h"
#include "gui_test_support.h"
#include "render/tube_draw_list.h"
#include "res/resource_ids.h"

namespace {

struct PictureStats {
    size_t litPixels = 0;       // not black
    size_t distinctColours = 0;
    double meanRed = 0, meanGreen = 0, meanBlue = 0;  // over lit pixels
};

PictureStats Measure(const std::vector<uint8_t>& rgb)
{
    PictureStats s;
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        colours.insert(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
        if (rgb[i] || rgb[i + 1] || rgb[i + 2]) {
            ++s.litPixels;
            s.meanRed += rgb[i];
            s.meanGreen += rgb[i + 1];
            s.meanBlue += rgb[i + 2];
        }
    }
    s.distinctColours = colours.size();
    if (s.litPixels) {
        s.meanRed /= s.litPixels;
        s.meanGreen /= s.litPixels;
        s.meanBlue /= s.litPixels;
    }
    return s;
}

}  // namespace

class TubeViewTest : public FrameTest {
protected:
    void ShowCircleTube()
    {
        SetCurve(CirclePoints(80, 0.35));
        View().BuildTube();
        View().m_nState = Suspended;
    }
};

TEST_F(TubeViewTest, ACircleIsDrawnAsALitTube)
{
    ShowCircleTube();
    int w = 0, h = 0;
    const std::vector<uint8_t> rgb = Probe().Picture(w, h);
    ASSERT_FALSE(rgb.empty());
    const PictureStats s = Measure(rgb);
    // A ring of tube: neither all black nor one flat colour, and most of the
    // window is the black background.
    EXPECT_GT(s.litPixels, static_cast<size_t>(w) * h / 200);
    EXPECT_LT(s.litPixels, static_cast<size_t>(w) * h / 2);
    EXPECT_GT(s.distinctColours, 50u);
}

TEST_F(TubeViewTest, TheTubeColourChangesThePicture)
{
    ShowCircleTube();
    int w = 0, h = 0;
    const PictureStats white = Measure(Probe().Picture(w, h));
    View().m_crTube = 0x00FFCCAA;  // light blue: less red
    const PictureStats cyan = Measure(Probe().Picture(w, h));
    EXPECT_LT(cyan.meanRed, white.meanRed - 5.0);
    EXPECT_EQ(cyan.litPixels, white.litPixels);
}

TEST_F(TubeViewTest, VertexArraysDrawExactlyWhatQuadByQuadDrawingDraws)
{
    ShowCircleTube();
    // Turned so that the seam and the lighting vary across the ring.
    wxMouseEvent press(wxEVT_LEFT_DOWN), move(wxEVT_MOTION), release(wxEVT_LEFT_UP);
    View().ProcessWindowEvent(press);
    move.m_x = View().m_ptLast.x + 40;
    move.m_y = View().m_ptLast.y + 25;
    View().ProcessWindowEvent(move);
    release.m_x = move.m_x;  // the button comes up where the pointer is
    release.m_y = move.m_y;
    View().ProcessWindowEvent(release);
    ASSERT_NE(View().ViewMatrix()[1], 0.0);  // turned about the eye y axis
    int w = 0, h = 0;
    const std::vector<uint8_t> arrays = Probe().Picture(w, h, ViewProbe::Tube::AsPainted);
    const std::vector<uint8_t> immediate = Probe().Picture(w, h, ViewProbe::Tube::QuadByQuad);
    ASSERT_FALSE(arrays.empty());
    EXPECT_TRUE(arrays == immediate);
}

// A tube of several draw pieces (1024 ring pairs each), turned so that the
// piece boundaries cross the picture: still exactly the quad-by-quad picture.
TEST_F(TubeViewTest, ATubeDrawnInPiecesIsExactlyTheQuadByQuadPicture)
{
    SetCurve(CirclePoints(2 * kDrawPieceRings + 300, 0.35));
    View().BuildTube();
    View().m_nState = Suspended;
    View().ResetCamera({0.3, -1.0, 0.6}, {0.0, 0.0, 0.0});
    int w = 0, h = 0;
    const std::vector<uint8_t> pieces = Probe().Picture(w, h, ViewProbe::Tube::AsPainted);
    const std::vector<uint8_t> immediate = Probe().Picture(w, h, ViewProbe::Tube::QuadByQuad);
    ASSERT_FALSE(pieces.empty());
    EXPECT_GT(Measure(pieces).litPixels, static_cast<size_t>(w) * h / 200);
    EXPECT_TRUE(pieces == immediate);
}

// Past kMaxDrawnRings points the tube goes through every k-th point: drawn
// all the same, and still not drawn once the curve has changed under it.
TEST_F(TubeViewTest, ACurvePastTheDrawnRingLimitIsDrawnThroughEveryKthPoint)
{
    const int n = 2 * kMaxDrawnRings + 1;  // k = 3
    SetCurve(CirclePoints(n, 0.35));
    View().m_nState = Suspended;
    View().BuildTube();
    EXPECT_EQ(View().m_arrTubeX.GetSize(), (n + 2) / 3 * vek::kRingSegments);
    int w = 0, h = 0;
    EXPECT_GT(Measure(Probe().Picture(w, h)).litPixels, static_cast<size_t>(w) * h / 200);

    View().m_nState = Sketch;
    SendMouse(View(), wxEVT_LEFT_DOWN, 10, 10);
    View().m_nState = Suspended;
    EXPECT_EQ(Measure(Probe().Picture(w, h)).litPixels, 0u);

    CDoubleArray x, y, z, tx, ty, tz;
    for (int k = 0; k < 7; ++k) {
        x.SetAtGrow(k, k);
        y.SetAtGrow(k, 10 + k);
        z.SetAtGrow(k, 20 + k);
    }
    EXPECT_FALSE(ThinForDrawing(x, y, z, 7, tx, ty, tz));
    ASSERT_TRUE(ThinForDrawing(x, y, z, 3, tx, ty, tz));
    ASSERT_EQ(tx.GetSize(), 3);
    EXPECT_EQ(std::vector<double>({tx[0], tx[1], tx[2], ty[2], tz[2]}), std::vector<double>({0, 3, 6, 16, 26}));
}

TEST_F(TubeViewTest, StopWhileSketchingDrawsNoStaleTube)
{
    ShowCircleTube();
    View().m_nState = Sketch;
    View().AppendPoint(0.1, 0.1, 0.1);  // the tube no longer matches
    SendCommand(frame, ID_CALC_STOP);
    int w = 0, h = 0;
    const PictureStats s = Measure(Probe().Picture(w, h));
    EXPECT_EQ(s.litPixels, 0u);
}

TEST_F(TubeViewTest, ARunShowsTheTubeAfterThirtyIterations)
{
    SetCurve(CirclePoints(24, 0.3));
    int drains = 0;
    int tubeSizeAtFirstDrain = -1;
    View().SetDrain([&] {
        if (++drains == 1) {
            tubeSizeAtFirstDrain = View().m_arrTubeX.GetSize();
            EXPECT_EQ(tubeSizeAtFirstDrain, View().PointCount() * 30);
            View().DrainMessages();
        } else {
            SendCommand(frame, ID_CALC_STOP);
        }
    });
    const int paints = Probe().TubePaints();
    SendCommand(frame, ID_CALC_START);
    EXPECT_GT(tubeSizeAtFirstDrain, 0);
    EXPECT_GT(Probe().TubePaints(), paints);
}

// Reset gives back what the drawn tube held: the tube arrays and every part
// of the draw list, down to no storage at all.
TEST_F(TubeViewTest, ResetReleasesTheTubeAndTheDrawList)
{
    SetCurve(CirclePoints(3000, 0.35));
    View().BuildTube();
    View().m_nState = Suspended;
    int w = 0, h = 0;
    ASSERT_FALSE(Probe().Picture(w, h).empty());
    ASSERT_NE(Probe().DrawnList(), nullptr);
    const TubeDrawList& list = *Probe().DrawnList();
    ASSERT_FALSE(list.Empty());
    ASSERT_EQ(list.vertices.size(), 3000u * 30 * 3);
    SendCommand(frame, ID_CALC_RESET);
    EXPECT_TRUE(list.Empty());
    for (std::size_t capacity : {list.vertices.capacity(), list.normals.capacity(), list.pairIndices.capacity(),
                                 list.closingVertices.capacity(), list.closingNormals.capacity(),
                                 list.closingIndices.capacity()})
        EXPECT_EQ(capacity, 0u);
    for (const CDoubleArray* a : {&View().m_arrX, &View().m_arrTubeX, &View().m_arrTubeY, &View().m_arrTubeZ})
        EXPECT_TRUE(a->GetSize() == 0 && a->GetCapacity() == 0);
    EXPECT_EQ(View().m_nState, Sketch);
}

// A coarse run after a fine one, without Reset: the tube arrays and the draw
// list are sized for the coarse curve, not kept at the fine one's size.
TEST_F(TubeViewTest, ACoarseRunAfterAFineOneGivesTheFineTubesStorageBack)
{
    SetCurve(CirclePoints(40, 0.3));
    const auto runOneBlock = [&](double precision) {
        View().m_dPrecision = precision;
        int drains = 0;
        View().SetDrain([&] {
            if (++drains == 1)
                SendCommand(frame, ID_CALC_STOP);
        });
        SendCommand(frame, ID_CALC_START);
        ASSERT_EQ(drains, 1);
        int w = 0, h = 0;
        ASSERT_FALSE(Probe().Picture(w, h).empty());
    };
    runOneBlock(20.0);
    const int finePoints = View().PointCount();
    ASSERT_GT(finePoints, 4000);
    ASSERT_NE(Probe().DrawnList(), nullptr);
    const size_t fineList = Probe().DrawnList()->vertices.capacity();
    // Past kMaxDrawnRings the list holds the rings of every k-th point.
    const int k = (finePoints + kMaxDrawnRings - 1) / kMaxDrawnRings;
    ASSERT_EQ(fineList, static_cast<size_t>((finePoints + k - 1) / k) * 30 * 3);

    runOneBlock(1.0);
    const int coarsePoints = View().PointCount();
    ASSERT_LT(coarsePoints * 10, finePoints);
    for (const CDoubleArray* a : {&View().m_arrTubeX, &View().m_arrTubeY, &View().m_arrTubeZ}) {
        EXPECT_EQ(a->GetSize(), coarsePoints * 30);
        EXPECT_LE(a->GetCapacity(), 2 * a->GetSize());
    }
    ASSERT_NE(Probe().DrawnList(), nullptr);
    const TubeDrawList& list = *Probe().DrawnList();
    ASSERT_EQ(list.ringCount, coarsePoints);
    EXPECT_LE(list.vertices.capacity(), 2 * list.vertices.size());
    EXPECT_LE(list.normals.capacity(), 2 * list.normals.size());
    EXPECT_LE(list.pairIndices.capacity(), 2 * list.pairIndices.size());
}
