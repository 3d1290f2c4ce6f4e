#include "curve/double_array.h"
#include "curve/curve_state.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

TEST(DoubleArrayGrowth, AppendingSixValuesGivesCapacities1_5_5_5_5_9)
{
    CDoubleArray a;
    std::vector<int> capacities;
    for (int i = 0; i < 6; ++i) {
        a.SetAtGrow(a.GetSize(), i + 0.5);
        capacities.push_back(a.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{1, 5, 5, 5, 5, 9}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(a[i], i + 0.5);
}

struct GrowthStepCase {
    int size;
    int expectedStep;
};

class DoubleArrayAutomaticStep : public ::testing::TestWithParam<GrowthStepCase> {};

TEST_P(DoubleArrayAutomaticStep, StepIsSizeOver8ClampedTo4And1024)
{
    const GrowthStepCase c = GetParam();
    CDoubleArray a;
    a.SetSize(c.size);  // first allocation: exactly c.size elements
    ASSERT_EQ(a.GetCapacity(), c.size);
    a.SetAtGrow(c.size, 1.0);
    EXPECT_EQ(a.GetCapacity(), c.size + c.expectedStep);
    EXPECT_EQ(a.GetSize(), c.size + 1);
}

INSTANTIATE_TEST_SUITE_P(Table, DoubleArrayAutomaticStep,
                         ::testing::Values(GrowthStepCase{1, 4}, GrowthStepCase{31, 4}, GrowthStepCase{39, 4},
                                           GrowthStepCase{40, 5}, GrowthStepCase{100, 12},
                                           GrowthStepCase{8191, 1023}, GrowthStepCase{8192, 1024},
                                           GrowthStepCase{100000, 1024}));

TEST(DoubleArrayGrowth, GrowingBeyondOneStepAllocatesExactlyWhatIsAsked)
{
    CDoubleArray a;
    a.SetSize(2);
    a.SetSize(50);
    EXPECT_EQ(a.GetCapacity(), 50);
    EXPECT_EQ(a.GetSize(), 50);
}

TEST(DoubleArrayGrowth, ExplicitGrowByIsKept)
{
    CDoubleArray a;
    a.SetSize(1, 10);
    EXPECT_EQ(a.GetGrowBy(), 10);
    a.SetSize(2);  // -1 keeps the step
    EXPECT_EQ(a.GetCapacity(), 11);
}

TEST(DoubleArrayShrink, ShrinkingKeepsStorageAndRegrowingShowsZeros)
{
    CDoubleArray a;
    for (int i = 0; i < 5; ++i)
        a.SetAtGrow(i, 7.0 + i);
    const int capacity = a.GetCapacity();
    const double* storage = a.GetData();
    a.SetSize(3);
    EXPECT_EQ(a.GetCapacity(), capacity);
    EXPECT_EQ(a.GetData(), storage);
    a.SetSize(5);
    EXPECT_EQ(a.GetData(), storage);
    EXPECT_EQ(a[2], 9.0);
    EXPECT_EQ(a[3], 0.0);
    EXPECT_EQ(a[4], 0.0);
}

TEST(DoubleArrayClear, SizeZeroReleasesStorageAndNextSizeIsExact)
{
    CDoubleArray a;
    a.SetSize(0);
    EXPECT_EQ(a.GetData(), nullptr);
    EXPECT_EQ(a.GetCapacity(), 0);
    for (int i = 0; i < 6; ++i)
        a.SetAtGrow(i, 1.0);
    a.SetSize(0);
    EXPECT_EQ(a.GetData(), nullptr);
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(a.GetCapacity(), 0);
    a.SetSize(7);
    EXPECT_EQ(a.GetCapacity(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(a[i], 0.0);
}

// SetSizeForOverwrite from an array of 100 elements (capacity 100): the
// storage is kept from half the capacity up to all of it, and replaced by
// exactly what is asked for otherwise; every element reads 0.0 after it.
struct OverwriteCase {
    int newSize;
    bool keepsStorage;
    int capacity;
};

class DoubleArrayOverwrite : public ::testing::TestWithParam<OverwriteCase> {};

TEST_P(DoubleArrayOverwrite, KeepsStorageOnlyWithinHalfToAllOfIt)
{
    const OverwriteCase c = GetParam();
    CDoubleArray a;
    a.SetSize(100, 16);
    for (int i = 0; i < 100; ++i)
        a[i] = 1.0 + i;
    const double* storage = a.GetData();
    a.SetSizeForOverwrite(c.newSize);
    EXPECT_EQ(a.GetSize(), c.newSize);
    EXPECT_EQ(a.GetCapacity(), c.capacity);
    if (c.keepsStorage) {
        EXPECT_EQ(a.GetData(), storage);
    }
    EXPECT_EQ(a.GetGrowBy(), 16);
    for (int i = 0; i < c.newSize; ++i)
        ASSERT_EQ(a[i], 0.0) << i;
    if (c.newSize == 0) {
        EXPECT_EQ(a.GetData(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DoubleArrayOverwrite,
                         ::testing::Values(OverwriteCase{100, true, 100}, OverwriteCase{50, true, 100},
                                           OverwriteCase{49, false, 49}, OverwriteCase{1, false, 1},
                                           OverwriteCase{0, false, 0}, OverwriteCase{101, false, 101},
                                           OverwriteCase{5000, false, 5000}));

TEST(DoubleArrayOverwriteLimits, OutOfRangeSizesThrowAndLeaveTheArrayAlone)
{
    CDoubleArray a;
    a.SetSize(10);
    a[3] = 5.0;
    EXPECT_THROW(a.SetSizeForOverwrite(-1), std::length_error);
    EXPECT_THROW(a.SetSizeForOverwrite(CDoubleArray::kMaxSize + 1), std::length_error);
    EXPECT_EQ(a.GetSize(), 10);
    EXPECT_EQ(a[3], 5.0);
}

TEST(DoubleArrayLimits, OutOfRangeSizesThrowAndLeaveTheArrayAlone)
{
    CDoubleArray a;
    a.SetAtGrow(0, 3.0);
    EXPECT_THROW(a.SetSize(-1), std::length_error);
    EXPECT_THROW(a.SetSize(CDoubleArray::kMaxSize + 1), std::length_error);
    EXPECT_THROW(a.SetAtGrow(-1, 1.0), std::out_of_range);
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], 3.0);
}

TEST(CurveStateDefaults, FreshRecordIsAnEmptySketch)
{
    CCurveState s;
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(s.m_nState, Sketch);
    EXPECT_EQ(s.m_dThickness, 0.03);
    EXPECT_EQ(s.m_nRingSegments, 30);
    EXPECT_EQ(s.m_dPrecision, 1.0);
    EXPECT_EQ(s.m_dPenDepth, 0.1);
    EXPECT_EQ(s.m_crTube, 0xFFFFFFu);
    EXPECT_EQ(s.m_dTubeScale, 1.0);
    EXPECT_EQ(s.m_bLeftDown, 0);
    EXPECT_EQ(s.m_bRightDown, 0);
    EXPECT_EQ(s.m_rcCursor, (CPixelRect{0, 0, 0, 0}));
    EXPECT_EQ(s.m_arrTubeX.GetSize(), 0);
}
