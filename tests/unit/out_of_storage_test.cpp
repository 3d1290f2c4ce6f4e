// Running out of storage while points are read or resampled: the curve is
// left exactly as it was, its three arrays equally long.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <utility>
#include <string>
#include <vector>

#include "curve/replace_points.h"
#include "curve/resample_curve.h"
#include "io/points_file.h"
#include "io/vect_file.h"
#include "tests/support/fail_allocations.h"

namespace {

struct Curve {
    CDoubleArray x, y, z;

    explicit Curve(int n)
    {
        for (int i = 0; i < n; ++i) {
            x.Add(0.1 * i);
            y.Add(-0.2 * i);
            z.Add(i % 2);
        }
    }
    std::vector<double> Flat() const
    {
        std::vector<double> values;
        for (int i = 0; i < x.GetSize(); ++i)
            values.insert(values.end(), {x[i], y[i], z[i]});
        return values;
    }
};

// n points as x y z triples: the gathered form that ReplacePoints takes.
std::vector<double> Gathered(int n)
{
    std::vector<double> xyz;
    for (int i = 0; i < n; ++i)
        xyz.insert(xyz.end(), {1.0 * i, 2.0 * i, 3.0 * i});
    return xyz;
}

constexpr int kLarge = 100000;  // 800,000 bytes per coordinate array
constexpr size_t kLimit = 400000;

}  // namespace

TEST(OutOfStorage, ReplacingPointsCompletesOrChangesNothing)
{
    const std::vector<double> xyz = Gathered(kLarge);
    // Whichever array's growth fails, those grown before it are cut back:
    // x and y already have room here, so only z needs new storage.
    for (int roomy = 0; roomy <= 2; ++roomy) {
        SCOPED_TRACE(roomy);
        Curve curve(5);
        CDoubleArray* arrays[3] = {&curve.x, &curve.y, &curve.z};
        for (int k = 0; k < roomy; ++k) {
            arrays[k]->SetSize(kLarge);
            arrays[k]->SetSize(5);
        }
        const std::vector<double> before = curve.Flat();
        {
            FailLargeAllocations full(kLimit);
            EXPECT_THROW(ReplacePoints(xyz, curve.x, curve.y, curve.z), std::bad_alloc);
            EXPECT_GE(full.Refused(), 1);
        }
        EXPECT_EQ(curve.Flat(), before);
        ReplacePoints(xyz, curve.x, curve.y, curve.z);
        EXPECT_EQ(curve.Flat(), xyz);
    }
    // Fewer points than before: shrinking takes no storage.
    Curve curve(5);
    const std::vector<double> two = Gathered(2);
    {
        FailLargeAllocations full(1);
        ReplacePoints(two, curve.x, curve.y, curve.z);
    }
    EXPECT_EQ(curve.Flat(), two);
}

// Fails the first, second, ... large allocation of `read` in turn until it
// gets through: every failure must leave the curve as it was. Returns how
// many large allocations the read makes.
template <class Read>
int FailEachLargeAllocation(Read read)
{
    for (int allowed = 0; allowed < 64; ++allowed) {
        SCOPED_TRACE(allowed);
        Curve curve(7);
        const std::vector<double> before = curve.Flat();
        bool done = false;
        {
            FailLargeAllocations full(kLimit, allowed);
            try {
                EXPECT_TRUE(read(curve));
                done = true;
            } catch (const std::bad_alloc&) {
                EXPECT_EQ(full.Refused(), 1);
            }
        }
        if (done) {
            EXPECT_EQ(curve.x.GetSize(), kLarge);
            return allowed;
        }
        EXPECT_EQ(curve.Flat(), before);
        EXPECT_EQ(curve.y.GetSize(), curve.x.GetSize());
    }
    ADD_FAILURE() << "the read never got through";
    return -1;
}

TEST(OutOfStorage, ReadersLeaveTheCurveAsItWas)
{
    Curve many(kLarge);
    const std::string vectPath = ::testing::TempDir() + "vek_out_of_storage.vect";
    const std::string pointsPath = ::testing::TempDir() + "vek_out_of_storage.txt";
    std::string error;
    ASSERT_TRUE(WriteVectFile(vectPath, many.x, many.y, many.z, error)) << error;
    ASSERT_TRUE(WritePointsFile(pointsPath, many.x, many.y, many.z, error)) << error;

    // The file's bytes, the words or gathered points, then the three arrays.
    EXPECT_GE(FailEachLargeAllocation([&](Curve& c) { return ReadVectFile(vectPath, c.x, c.y, c.z, error); }), 5);
    EXPECT_GE(FailEachLargeAllocation([&](Curve& c) { return ReadPointsFile(pointsPath, c.x, c.y, c.z, error); }),
              5);
    std::remove(vectPath.c_str());
    std::remove(pointsPath.c_str());
}

TEST(OutOfStorage, ResamplingLeavesTheCurveAsItWas)
{
    // A square of side 1 at precision 10: about 5,300 points of 42 KB per
    // array, from 4 points.
    Curve curve(0);
    for (auto [px, py] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}}) {
        curve.x.Add(px);
        curve.y.Add(py);
        curve.z.Add(0.0);
    }
    const std::vector<double> before = curve.Flat();
    {
        FailLargeAllocations full(8 * 1024);
        EXPECT_THROW(ResampleCurve(curve.x, curve.y, curve.z, 0.03, 10.0), std::bad_alloc);
        EXPECT_GE(full.Refused(), 1);
    }
    EXPECT_EQ(curve.Flat(), before);
    EXPECT_TRUE(ResampleCurve(curve.x, curve.y, curve.z, 0.03, 10.0));
    EXPECT_GT(curve.x.GetSize(), 5000);
    EXPECT_EQ(curve.y.GetSize(), curve.x.GetSize());
    EXPECT_EQ(curve.z.GetSize(), curve.x.GetSize());
}
