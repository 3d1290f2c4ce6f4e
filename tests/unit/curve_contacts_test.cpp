#include "curve/curve_contacts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "curve/resample_curve.h"
#include "curve/vec_math.h"
#include "curve/window_counts.h"
#include "relax/relax_cli.h"
#include "test_support.h"

namespace {

const double kReach = vek::kContactFactor * vek::kThickness;

CurveContacts Contacts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    return CountCurveContacts(x, y, z, ExclusionWindow(vek::kThickness), kReach);
}

}  // namespace

TEST(CurveContacts, TightTrefoilTouchesItselfAtItsNearestDistance)
{
    CDoubleArray x, y, z;
    ReadTightTrefoil(x, y, z);
    ASSERT_FALSE(HasFatalFailure());
    const CurveContacts contacts = Contacts(x, y, z);
    // Three crossings, each pressing strands together over several points.
    EXPECT_GE(contacts.count, 30);
    EXPECT_LT(contacts.count, static_cast<long long>(x.GetSize()) * x.GetSize() / 4);
    EXPECT_EQ(contacts.nearest, MinNonLocalDistance(x, y, z, ExclusionWindow(vek::kThickness)));
    EXPECT_LT(contacts.nearest, vek::kThickness);

    // The pairs do not depend on where the numbering starts or which way it
    // runs: both windows of both points are checked.
    CDoubleArray rx, ry, rz, sx, sy, sz;
    const int n = x.GetSize();
    for (int k = 0; k < n; ++k) {
        rx.Add(x[n - 1 - k]);
        ry.Add(y[n - 1 - k]);
        rz.Add(z[n - 1 - k]);
        sx.Add(x[(k + 17) % n]);
        sy.Add(y[(k + 17) % n]);
        sz.Add(z[(k + 17) % n]);
    }
    EXPECT_EQ(Contacts(rx, ry, rz).count, contacts.count);
    EXPECT_EQ(Contacts(sx, sy, sz).count, contacts.count);
    EXPECT_EQ(Contacts(rx, ry, rz).nearest, contacts.nearest);
}

TEST(CurveContacts, CurvesWithoutNearStrandsHaveNone)
{
    for (const double radius : {0.3, 0.01}) {
        CDoubleArray x, y, z;
        for (int k = 0; k < 200; ++k) {
            x.Add(radius * std::cos(k * 0.031415926535897934));
            y.Add(radius * std::sin(k * 0.031415926535897934));
            z.Add(0.0);
        }
        const CurveContacts contacts = Contacts(x, y, z);
        EXPECT_EQ(contacts.count, 0) << radius;
        EXPECT_TRUE(std::isinf(contacts.nearest)) << radius;
    }
    CDoubleArray x, y, z;
    EXPECT_EQ(Contacts(x, y, z).count, 0);
}

TEST(CurveContacts, TwoStrandsJustInsideAndJustOutsideTheReach)
{
    // A long thin loop: two straight strands 0.5 long, joined at the ends,
    // their points facing each other at `gap`.
    for (const auto& [gap, touching] : {std::pair{0.0302, true}, std::pair{0.0304, false}}) {
        CDoubleArray x, y, z;
        const int side = 100;
        for (int k = 0; k < side; ++k) {
            x.Add(0.005 * k);
            y.Add(0.0);
            z.Add(0.0);
        }
        for (int k = side - 1; k >= 0; --k) {
            x.Add(0.005 * k);
            y.Add(gap);
            z.Add(0.0);
        }
        const CurveContacts contacts = Contacts(x, y, z);
        if (touching) {
            // Face to face, away from the turns where the windows reach round.
            EXPECT_GE(contacts.count, side - 20) << gap;
            EXPECT_LE(contacts.count, side) << gap;
            EXPECT_NEAR(contacts.nearest, gap, 1e-15);
        } else {
            EXPECT_EQ(contacts.count, 0) << gap;
        }
    }
}

namespace {

// Every pair by hand: the contacts, their nearest, and the nearest pair
// that either point's own window lets through.
CurveContacts AllPairs(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const int n = x.GetSize();
    const double window = ExclusionWindow(vek::kThickness);
    std::vector<int> fwd(n), bwd(n);
    for (int i = 0; i < n; ++i) {
        fwd[i] = WindowSteps(x, y, z, i, 1, window);
        bwd[i] = WindowSteps(x, y, z, i, -1, window);
    }
    CurveContacts all;
    double contact2 = INFINITY, nonLocal2 = INFINITY;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const bool ij = IsWindowCandidate(i, j, n, fwd[i], bwd[i]);
            const bool ji = IsWindowCandidate(j, i, n, fwd[j], bwd[j]);
            const double d2 = Distance2(x, y, z, i, j);
            if (ij || ji)
                nonLocal2 = std::min(nonLocal2, d2);
            if (ij && ji && std::sqrt(d2) < kReach) {
                ++all.count;
                contact2 = std::min(contact2, d2);
            }
        }
    all.nearest = std::sqrt(contact2);
    all.nonLocal = std::sqrt(nonLocal2);
    return all;
}

}  // namespace

// Runs of pairs are counted whole where every pair is a contact: the count
// and both minima stay those of the pairs one by one, on tight curves with
// thousands of contacts, on uneven ones and on loose ones.
TEST(CurveContacts, EqualsEveryPairTakenByHand)
{
    struct Case {
        const char* name;
        double precision;  // 0: the curve as it is
        unsigned seed;     // 0: the tight trefoil
    };
    for (const Case& c : {Case{"tight", 0.0, 0}, Case{"tight x10", 10.0, 0}, Case{"tight x20", 20.0, 0},
                          Case{"random", 0.0, 7}, Case{"random x3", 3.0, 11}}) {
        CDoubleArray x, y, z;
        if (c.seed == 0)
            ReadTightTrefoil(x, y, z);
        else
            SetArrays(x, y, z, RandomCurve(c.seed, 300, 0.2));
        ASSERT_FALSE(HasFatalFailure());
        if (c.precision > 0.0) {
            ASSERT_TRUE(ResampleCurve(x, y, z, vek::kThickness, c.precision)) << c.name;
        }
        const CurveContacts fast = Contacts(x, y, z);
        const CurveContacts slow = AllPairs(x, y, z);
        EXPECT_EQ(fast.count, slow.count) << c.name;
        EXPECT_TRUE(c.seed != 0 || slow.count > 30) << c.name;
        EXPECT_EQ(fast.nearest, slow.nearest) << c.name;
        EXPECT_EQ(fast.nonLocal, slow.nonLocal) << c.name;
        EXPECT_EQ(fast.nonLocal, MinNonLocalDistance(x, y, z, ExclusionWindow(vek::kThickness))) << c.name;
        // The nearest pair itself, which the nearest contact is taken from.
        std::vector<int> fwd, bwd;
        WindowCounts(x, y, z, ExclusionWindow(vek::kThickness), fwd, bwd);
        const NonLocalPair pair = NearestNonLocalPair(x, y, z, fwd, bwd, INFINITY);
        ASSERT_GE(pair.i, 0) << c.name;
        EXPECT_EQ(std::sqrt(pair.d2), slow.nonLocal) << c.name;
        EXPECT_EQ(pair.d2, Distance2(x, y, z, pair.i, pair.j)) << c.name;
        EXPECT_TRUE(IsWindowCandidate(pair.i, pair.j, x.GetSize(), fwd[pair.i], bwd[pair.i])) << c.name;
        // Started from that very distance it still names a pair.
        EXPECT_GE(NearestNonLocalPair(x, y, z, fwd, bwd, pair.d2).i, 0) << c.name;
    }
}

// The squared bound that replaces the root in the pair tests is the last
// double below the reach's square root test, for reaches whose square
// rounds either way, is subnormal, overflows, or is no distance at all.
TEST(CurveContacts, SquaredWithinIsTheLastSquareBelowTheReach)
{
    for (const double reach : {kReach, 1.0, 0.1, std::sqrt(2.0), 3e-160, 1e-320, 1e200, double(INFINITY)}) {
        const double within2 = SquaredWithin(reach);
        EXPECT_LT(std::sqrt(within2), reach) << reach;
        EXPECT_FALSE(std::sqrt(std::nextafter(within2, INFINITY)) < reach) << reach;
    }
    for (const double none : {0.0, -1.0, double(NAN)})
        EXPECT_FALSE(SquaredWithin(none) >= 0.0) << none;
}
