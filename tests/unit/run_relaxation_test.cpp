// The run loop's schedule and its state transitions, with recording hooks.
#include "curve/run_relaxation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Records the order of the run's steps: "R" resample, "i<k>" iteration k of
// the run (from 1), "B" rebuild, "P" repaint, "D" drain.
struct Recorder {
    CCurveState state;
    std::vector<std::string> log;
    int iterations = 0;
    std::function<void(int drain)> atDrain;
    int drains = 0;
    bool refuseResample = false;

    RunHooks Hooks()
    {
        RunHooks h;
        h.resample = [this] {
            log.push_back("R");
            return !refuseResample;
        };
        h.relax = [this](double, CDoubleArray&, CDoubleArray&, CDoubleArray&) {
            log.push_back("i" + std::to_string(++iterations));
        };
        h.rebuildTube = [this] { log.push_back("B"); };
        h.requestRepaint = [this] { log.push_back("P"); };
        h.drain = [this] {
            log.push_back("D");
            if (atDrain)
                atDrain(++drains);
        };
        h.refused = [this] { log.push_back("refused"); };
        return h;
    }

    size_t IndexOf(const std::string& entry) const
    {
        for (size_t i = 0; i < log.size(); ++i)
            if (log[i] == entry)
                return i;
        return log.size();
    }
};

}  // namespace

TEST(RunRelaxationSchedule, ResamplesBeforeIterations1_31_61AndDrainsAfter30_60_90)
{
    Recorder r;
    r.atDrain = [&](int drain) {
        if (drain == 3)
            StopRelaxation(r.state);
    };
    RunRelaxation(r.state, r.Hooks());
    EXPECT_EQ(r.iterations, 90);
    std::vector<size_t> resamples, drains;
    for (size_t i = 0; i < r.log.size(); ++i) {
        if (r.log[i] == "R")
            resamples.push_back(i);
        if (r.log[i] == "D")
            drains.push_back(i);
    }
    ASSERT_EQ(resamples.size(), 3u);
    EXPECT_EQ(r.log[resamples[0] + 1], "i1");
    EXPECT_EQ(r.log[resamples[1] + 1], "i31");
    EXPECT_EQ(r.log[resamples[2] + 1], "i61");
    ASSERT_EQ(drains.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const std::string after = "i" + std::to_string(30 * (k + 1));
        EXPECT_EQ(r.log[drains[k] - 3], after);
        EXPECT_EQ(r.log[drains[k] - 2], "B");
        EXPECT_EQ(r.log[drains[k] - 1], "P");
    }
    EXPECT_EQ(r.log.back(), "D");  // the run ends right after a drain
    EXPECT_EQ(r.state.m_nState, Suspended);
}

TEST(RunRelaxationSchedule, ResetAtADrainEndsTheRunWithAnEmptySketch)
{
    Recorder r;
    r.state.AppendPoint(0.1, 0.2, 0.3);
    r.state.m_dPrecision = 4.0;
    r.atDrain = [&](int) { ResetCurve(r.state); };
    RunRelaxation(r.state, r.Hooks());
    EXPECT_EQ(r.iterations, 30);
    EXPECT_EQ(r.state.m_nState, Sketch);
    EXPECT_EQ(r.state.PointCount(), 0);
    EXPECT_EQ(r.state.m_arrX.GetData(), nullptr);
    EXPECT_EQ(r.state.m_dPrecision, 1.0);
}

TEST(RunRelaxationSchedule, NestedStartRestartsTheCycleAndOneStopEndsBothRuns)
{
    Recorder r;
    RunHooks hooks = r.Hooks();
    int depth = 0;
    r.atDrain = [&](int drain) {
        if (drain == 1) {
            ++depth;
            RunRelaxation(r.state, hooks);  // Start chosen during the run
            --depth;
        } else if (drain == 3) {
            StopRelaxation(r.state);
        }
    };
    hooks = r.Hooks();
    RunRelaxation(r.state, hooks);
    // Outer: 30 iterations; inner: resample at once, 60 iterations until the
    // Stop at the third drain; the outer run then ends after its drain.
    EXPECT_EQ(r.iterations, 90);
    EXPECT_EQ(r.drains, 3);
    const size_t firstDrain = r.IndexOf("D");
    EXPECT_EQ(r.log[firstDrain + 1], "R");
    EXPECT_EQ(r.log[firstDrain + 2], "i31");
    EXPECT_EQ(r.state.m_nState, Suspended);
}

TEST(RunRelaxationSchedule, ARefusedResampleEndsTheRunAndSaysSo)
{
    Recorder r;
    r.refuseResample = true;
    RunRelaxation(r.state, r.Hooks());
    EXPECT_EQ(r.iterations, 0);
    EXPECT_EQ(r.state.m_nState, Suspended);
    EXPECT_EQ(r.log, (std::vector<std::string>{"R", "refused"}));
}

TEST(RunRelaxationEngine, RunsOnTheRealEngineAndKeepsTheCentroidAtTheOrigin)
{
    CCurveState s;
    for (int i = 0; i < 12; ++i)
        s.AppendPoint(0.3 * std::cos(i * 0.5235987755982988), 0.3 * std::sin(i * 0.5235987755982988), 0.0);
    RunHooks hooks = EngineRunHooks(s);
    int pointsAtDrain = -1;
    hooks.drain = [&] {
        pointsAtDrain = s.PointCount();
        StopRelaxation(s);
    };
    RunRelaxation(s, hooks);
    // A circle of radius 0.3 resampled at 0.0075: about 251 points, pulled
    // inwards and kept centred.
    EXPECT_EQ(pointsAtDrain, s.PointCount());
    EXPECT_GT(s.PointCount(), 240);
    double sx = 0, sy = 0;
    for (int i = 0; i < s.PointCount(); ++i) {
        sx += s.m_arrX[i];
        sy += s.m_arrY[i];
    }
    EXPECT_NEAR(sx / s.PointCount(), 0.0, 1e-15);
    EXPECT_NEAR(sy / s.PointCount(), 0.0, 1e-15);
}
