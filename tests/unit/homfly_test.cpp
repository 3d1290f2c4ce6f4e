#include "knot/homfly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "knot/alexander.h"
#include "knot/knot_table.h"
#include "knot/link_reduce.h"
#include "knot/pd_code.h"

namespace {

vek::Laurent2 Poly(std::initializer_list<vek::LaurentTerm> terms)
{
    vek::Laurent2 p;
    for (const auto& t : terms)
        p.AddScaled(vek::Laurent2::Constant(1), t.c, t.v, t.z);
    return p;
}

vek::Laurent2 HomflyOfPd(const std::string& text)
{
    vek::PdCode code;
    vek::LinkDiagram d;
    std::string error;
    EXPECT_TRUE(vek::ParsePdCode(text, code, error) && vek::PdToDiagram(code, d, error)) << error;
    vek::Laurent2 p;
    EXPECT_TRUE(vek::HomflyPolynomial(d, p));
    return p;
}

const vek::KnotTableRow& Row(const std::string& name)
{
    bool mirror = false;
    const vek::KnotTableRow* row = vek::FindKnot(name, mirror);
    EXPECT_NE(row, nullptr) << name;
    return *row;
}

// P(v = t, z = t^1/2 - t^-1/2) for a knot (even powers of z only), as
// coefficients of t^lo ... ; lo returned.
std::vector<long long> Specialise(const vek::Laurent2& p, bool jones, int& lo)
{
    std::map<int, long long> t;
    for (const auto& term : p.Terms()) {
        EXPECT_EQ(term.z % 2, 0);
        // (t - 2 + 1/t)^(z/2) = (t^1/2 - t^-1/2)^z, expanded by the binomial
        // theorem in s = t^1/2: sum_k C(z,k) (-1)^k s^(z-2k).
        const int m = term.z;
        long long binom = 1;
        for (int k = 0; k <= m; ++k) {
            const int sPower = m - 2 * k;
            t[(jones ? term.v : 0) + sPower / 2] += term.c * binom * (k % 2 ? -1 : 1);
            binom = binom * (m - k) / (k + 1);
        }
    }
    std::erase_if(t, [](const auto& e) { return e.second == 0; });
    std::vector<long long> out;
    lo = t.empty() ? 0 : t.begin()->first;
    for (int e = lo; !t.empty() && e <= t.rbegin()->first; ++e)
        out.push_back(t.count(e) ? t[e] : 0);
    return out;
}

// Polynomials from the literature, in the convention
// v^-1 P(L+) - v P(L-) = z P(L0).
TEST(Homfly, KnotsFromTheLiterature)
{
    // The right-handed trefoil, the figure-eight knot and the (2,5) torus
    // knot (the table's diagrams of 3_1 and 5_1 cross positively).
    EXPECT_EQ(Row("3_1").homfly, Poly({{2, 0, 2}, {4, 0, -1}, {2, 2, 1}}));
    EXPECT_EQ(Row("4_1").homfly, Poly({{-2, 0, 1}, {0, 0, -1}, {2, 0, 1}, {0, 2, -1}}));
    EXPECT_EQ(Row("5_1").homfly, Poly({{4, 0, 3}, {6, 0, -2}, {4, 2, 4}, {6, 2, -1}, {4, 4, 1}}));
    // 10_132 shares its polynomial with 5_1's mirror image.
    EXPECT_EQ(Row("10_132").homfly, Row("5_1").homfly.MirrorV());
    // 8_19, the positive (3,4) torus knot.
    EXPECT_EQ(Row("8_19").homfly, Poly({{6, 0, 5}, {8, 0, -5}, {10, 0, 1}, {6, 2, 10}, {8, 2, -5}, {6, 4, 6},
                                        {8, 4, -1}, {6, 6, 1}}));
    // As the (3,4) torus knot, its Jones polynomial t^3 + t^5 - t^8
    // (the torus knot formula) and Alexander polynomial
    // t^-3 - t^-2 + 1 - t^2 + t^3 are specialisations.
    int lo = 0;
    EXPECT_EQ(Specialise(Row("8_19").homfly, true, lo), (std::vector<long long>{1, 0, 1, 0, 0, -1}));
    EXPECT_EQ(lo, 3);
    EXPECT_EQ(Specialise(Row("8_19").homfly, false, lo), (std::vector<long long>{1, -1, 0, 1, 0, -1, 1}));
    EXPECT_EQ(lo, -3);
    // Links: the unlink of two components and the positive Hopf link (its
    // diagram by hand: two components, two positive crossings).
    vek::LinkDiagram unlink;
    unlink.components.resize(2);
    vek::Laurent2 p;
    ASSERT_TRUE(vek::HomflyPolynomial(unlink, p));
    EXPECT_EQ(p, Poly({{-1, -1, 1}, {1, -1, -1}}));
    vek::LinkDiagram hopf;
    hopf.components = {{{0, true}, {1, false}}, {{0, false}, {1, true}}};
    hopf.sign = {1, 1};
    ASSERT_TRUE(vek::HomflyPolynomial(hopf, p));
    EXPECT_EQ(p, Poly({{1, -1, 1}, {3, -1, -1}, {1, 1, 1}}));
}

// Every row: the polynomial at v = 1 is the Alexander polynomial that the
// determinant method finds from the same diagram; the mirrored diagram has
// the mirrored polynomial; an amphicheiral knot's polynomial is its
// mirror's.
TEST(Homfly, EveryRowAgreesWithItsAlexanderPolynomialAndMirror)
{
    int checked = 0;
    for (const vek::KnotTableRow& row : vek::KnotTable()) {
        SCOPED_TRACE(row.name);
        vek::PdCode code;
        vek::LinkDiagram d;
        std::string error;
        ASSERT_TRUE(vek::ParsePdCode(row.pd, code, error) && vek::PdToDiagram(code, d, error)) << error;
        vek::GaussCode gauss;
        for (const auto& p : d.components[0])
            gauss.passages.push_back({p.crossing, p.over});
        gauss.sign = d.sign;
        std::vector<long long> alexander;
        ASSERT_TRUE(vek::AlexanderPolynomial(gauss, alexander));
        int lo = 0;
        std::vector<long long> fromHomfly = Specialise(row.homfly, false, lo);
        if (!fromHomfly.empty() && fromHomfly.back() < 0)
            for (long long& c : fromHomfly)
                c = -c;
        EXPECT_EQ(fromHomfly, alexander);
        if (row.crossings <= 10 || checked % 7 == 0) {
            vek::Laurent2 mirrored;
            vek::LinkDiagram m;
            ASSERT_TRUE(vek::PdToDiagram(vek::MirrorPd(code), m, error)) << error;
            ASSERT_TRUE(vek::HomflyPolynomial(m, mirrored));
            EXPECT_EQ(mirrored, row.homfly.MirrorV());
        }
        if (!row.mirrorDiffers)
            EXPECT_EQ(row.homfly, row.homfly.MirrorV());
        ++checked;
    }
    EXPECT_EQ(checked, 2978);
}

// Through 10 crossings the polynomial tells every knot and mirror image
// apart except the known coincidences.
TEST(Homfly, CoincidencesThroughTenCrossings)
{
    std::map<vek::Laurent2, std::vector<std::string>> groups;
    for (const vek::KnotTableRow& row : vek::KnotTable()) {
        if (row.crossings > 10)
            continue;
        groups[row.homfly].push_back(row.name);
        if (row.mirrorDiffers)
            groups[row.homfly.MirrorV()].push_back(row.name + "*");
    }
    std::set<std::set<std::string>> shared;
    for (const auto& [p, names] : groups)
        if (names.size() > 1)
            shared.insert(std::set<std::string>(names.begin(), names.end()));
    std::set<std::set<std::string>> known;
    for (const auto& pair : std::vector<std::pair<std::string, std::string>>{
             {"5_1*", "10_132"}, {"8_8", "10_129*"}, {"8_16", "10_156"}, {"10_25", "10_56"}, {"10_40", "10_103"}}) {
        known.insert({pair.first, pair.second});
        // The mirror images' pair.
        auto flip = [](const std::string& n) { return n.back() == '*' ? n.substr(0, n.size() - 1) : n + "*"; };
        known.insert({flip(pair.first), flip(pair.second)});
    }
    for (const char* chiral : {"9_42", "10_48", "10_71", "10_91", "10_104", "10_125"})
        known.insert({chiral, std::string(chiral) + "*"});
    EXPECT_EQ(shared, known);
    // The table's lookup gives the same lists.
    EXPECT_EQ(vek::KnotsWithHomfly(Row("10_132").homfly), (std::vector<std::string>{"5_1*", "10_132"}));
    EXPECT_EQ(vek::KnotsWithHomfly(Row("9_42").homfly), (std::vector<std::string>{"9_42", "9_42*"}));
}

TEST(PdCode, RefusesWhatIsNotOneClosedOrientedPlanarComponent)
{
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"", "not a diagram code"},
        {"[[1,5,2,4],[3,1,4,6],[5,3,6,2]", "not a diagram code"},
        {"[[1,5,2],[3,1,4,6]]", "not a diagram code"},
        {"[[1,5,2,4],[3,1,4,6],[5,3,6,-2]]", "not a diagram code"},
        {"[[1,5,2,4],[3,1,4,6],[5,3,6,7]]", "numbered 1 ... 6"},
        {"[[1,5,2,4],[3,1,4,6],[5,3,6,3]]", "arc 2 appears 1 times"},
        {"[[1,5,3,4],[2,1,4,6],[5,2,6,3]]", "must leave on a+1"},
        {"[[1,5,2,3],[3,1,4,6],[5,4,6,2]]", "must be consecutive"},
        // The Hopf link: two components.
        {"[[1,3,2,4],[3,1,4,2]]", "not one closed oriented component"},
        // A Gauss code with no planar diagram: 1 2 1 2.
        {"[[3,1,4,2],[4,2,1,3]]", "not planar"},
    };
    for (const auto& [text, message] : bad) {
        SCOPED_TRACE(text);
        vek::PdCode code;
        std::string error;
        EXPECT_FALSE(vek::ParsePdCode(text, code, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    vek::PdCode code;
    std::string error;
    ASSERT_TRUE(vek::ParsePdCode(" [ [1,5,2,4], [3,1,4,6],[5,3,6,2] ] ", code, error)) << error;
    EXPECT_EQ(vek::FormatPdCode(code), "[[1,5,2,4],[3,1,4,6],[5,3,6,2]]");
    EXPECT_TRUE(vek::ParsePdCode("[]", code, error));
    // A kink of one crossing is a planar diagram of the unknot.
    ASSERT_TRUE(vek::ParsePdCode("[[2,1,1,2]]", code, error)) << error;
    EXPECT_EQ(HomflyOfPd("[[2,1,1,2]]"), vek::Laurent2::Constant(1));
}

TEST(Homfly, ReductionKeepsTheLinkAndRemovesKinksAndBigons)
{
    // The trefoil with a kink and a bigon added by hand keeps its
    // polynomial and comes back to three crossings.
    vek::LinkDiagram d;
    d.components = {{{0, true}, {1, false}, {2, true}, {0, false}, {1, true}, {2, false}}};
    d.sign = {1, 1, 1};
    vek::Laurent2 plain;
    ASSERT_TRUE(vek::HomflyPolynomial(d, plain));
    EXPECT_EQ(plain, Row("3_1").homfly);
    vek::LinkDiagram big = d;
    // A kink (crossing 3) after the first passage; a bigon of crossings 4
    // and 5 between two strands of the trefoil.
    auto& c = big.components[0];
    c.insert(c.begin() + 1, {{3, true}, {3, false}});
    c.insert(c.begin() + 4, {{4, true}, {5, true}});
    c.insert(c.end(), {{4, false}, {5, false}});
    big.sign = {1, 1, 1, -1, 1, -1};
    vek::Laurent2 p;
    ASSERT_TRUE(vek::HomflyPolynomial(big, p));
    EXPECT_EQ(p, plain);
    vek::ReduceLinkDiagram(big);
    EXPECT_EQ(big.sign.size(), 3u);
}

}  // namespace
