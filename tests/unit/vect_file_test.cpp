#include "io/vect_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<double> Flat(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    std::vector<double> values;
    for (int k = 0; k < x.GetSize(); ++k)
        values.insert(values.end(), {x[k], y[k], z[k]});
    return values;
}

}  // namespace

TEST(VectFile, RoundTripKeepsEveryBit)
{
    CDoubleArray x, y, z;
    for (int k = 0; k < 50; ++k) {
        x.Add(std::cos(k * 0.1257) / 3.0);
        y.Add(std::sin(k * 0.1257) * 1e-7);
        z.Add(k == 7 ? -0.0 : 1e300 * (k % 3 - 1));
    }
    const std::string text = FormatVectText(x, y, z);
    EXPECT_EQ(text.rfind("VECT\n1 50 0\n-50\n0\n", 0), 0u) << text.substr(0, 40);
    CDoubleArray rx, ry, rz;
    std::string error;
    ASSERT_TRUE(ParseVectText(text, rx, ry, rz, error)) << error;
    EXPECT_EQ(Flat(rx, ry, rz), Flat(x, y, z));
    EXPECT_TRUE(std::signbit(rz[7]));

    const std::string path = ::testing::TempDir() + "vek_vect_file_test.vect";
    ASSERT_TRUE(WriteVectFile(path, x, y, z, error)) << error;
    ASSERT_TRUE(ReadVectFile(path, rx, ry, rz, error)) << error;
    EXPECT_EQ(Flat(rx, ry, rz), Flat(x, y, z));
    std::remove(path.c_str());

    CDoubleArray ex, ey, ez;
    ASSERT_TRUE(ParseVectText(FormatVectText(ex, ey, ez), rx, ry, rz, error)) << error;
    EXPECT_EQ(rx.GetSize(), 0);
}

struct GoodVect {
    const char* name;
    const char* text;
    std::vector<double> points;
};

class VectFileGood : public ::testing::TestWithParam<GoodVect> {};

TEST_P(VectFileGood, IsRead)
{
    CDoubleArray x, y, z;
    x.Add(9);
    y.Add(9);
    z.Add(9);
    std::string error;
    ASSERT_TRUE(ParseVectText(GetParam().text, x, y, z, error)) << error;
    EXPECT_EQ(Flat(x, y, z), GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VectFileGood,
    ::testing::Values(
        GoodVect{"closed", "VECT\n1 3 0\n-3\n0\n0 0 0\n1 0 0\n0 1 0\n", {0, 0, 0, 1, 0, 0, 0, 1, 0}},
        GoodVect{"open, last repeats first",
                 "VECT 1 4 0 4 0  0 0 0  1 0 0  0 1 0  0 0 0",
                 {0, 0, 0, 1, 0, 0, 0, 1, 0}},
        GoodVect{"open, not repeated: closed anyway", "VECT 1 3 0 3 0 0 0 0 1 0 0 0 1 0", {0, 0, 0, 1, 0, 0, 0, 1, 0}},
        GoodVect{"comments and one colour",
                 "# ideal trefoil\nVECT # header\n1 3 1 # counts\n-3 # closed\n1\n0 0 0\n1e0 -2.5E-1 +3\n.5 0 0\n"
                 "1 0 0 1 # red\n",
                 {0, 0, 0, 1, -0.25, 3, 0.5, 0, 0}},
        GoodVect{"a colour per vertex", "VECT 1 2 2 -2 2 0 0 0 1 1 1 1 0 0 1 0 1 0 1", {0, 0, 0, 1, 1, 1}},
        GoodVect{"no polyline", "VECT 0 0 0", {}},
        GoodVect{"too small for a double reads as 0 with its sign", "VECT 1 2 0 -2 0 1e-999 0 1 -1e-400 2 3",
                 {0, 0, 1, -0.0, 2, 3}},
        GoodVect{"a UTF-8 byte-order mark is skipped", "\xEF\xBB\xBFVECT 1 2 0 -2 0 0 0 1 1 2 3", {0, 0, 1, 1, 2, 3}}));

struct BadVect {
    const char* name;
    std::string text;
    const char* inError;
};

class VectFileBad : public ::testing::TestWithParam<BadVect> {};

TEST_P(VectFileBad, IsRefusedLeavingTheCurve)
{
    CDoubleArray x, y, z;
    x.Add(9);
    y.Add(8);
    z.Add(7);
    std::string error;
    EXPECT_FALSE(ParseVectText(GetParam().text, x, y, z, error));
    EXPECT_NE(error.find(GetParam().inError), std::string::npos) << error;
    EXPECT_EQ(Flat(x, y, z), (std::vector<double>{9, 8, 7}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, VectFileBad,
    ::testing::Values(
        BadVect{"empty", "", "not a VECT"}, BadVect{"other format", "OFF 3 1 0", "not a VECT"},
        BadVect{"homogeneous", "4VECT 1 1 0 1 0 0 0 0 1", "4VECT"},
        BadVect{"binary", "VECT BINARY", "binary"},
        BadVect{"header cut", "VECT 1 3", "ends"},
        BadVect{"vertices cut", "VECT 1 3 0 -3 0 0 0 0 1 0 0 0 1", "more numbers"},
        BadVect{"colour cut", "VECT 1 2 1 -2 1 0 0 0 1 1 1 0.5 0.5", "more numbers"},
        BadVect{"two polylines", "VECT 2 4 0 -2 -2 0 0 0 0 0 1 0 0 2 0 0 3 0 0 0 0", "2 polylines"},
        BadVect{"vertex count differs", "VECT 1 3 0 -2 0 0 0 0 1 0 0 0 1 0", "vertex count"},
        BadVect{"zero vertices", "VECT 1 0 0 0 0", "vertex count"},
        BadVect{"colour count differs", "VECT 1 2 1 -2 0 0 0 0 1 1 1 1 0 0 1",
                "colour count 0 does not match the colour count 1 of the second line"},
        BadVect{"colour count not 0, 1 or n", "VECT 1 3 2 -3 2 0 0 0 1 0 0 0 1 0 1 0 0 1 1 0 0 1",
                "the colour count 2 must be 0, 1 or the vertex count 3"},
        BadVect{"UTF-16", "\xFF\xFEV", "UTF-16"},
        BadVect{"negative count", "VECT -1 3 0", "negative"},
        BadVect{"count not whole", "VECT 1 3.0 0 -3 0 0 0 0 1 0 0 0 1 0", "whole number"},
        BadVect{"coordinate not a number", "VECT 1 3 0 -3 0 0 0 0 1 zero 0 0 1 0", "\"zero\""},
        BadVect{"coordinate infinite", "VECT 1 3 0 -3 0 0 0 0 1 inf 0 0 1 0", "finite"},
        BadVect{"coordinate too large", "VECT 1 3 0 -3 0 0 0 0 1 1e999 0 0 1 0", "finite"},
        BadVect{"comma decimal", "VECT 1 3 0 -3 0 0 0 0 1 0,5 0 0 1 0", "finite number"},
        BadVect{"trailing numbers", "VECT 1 3 0 -3 0 0 0 0 1 0 0 0 1 0 5", "goes on"},
        BadVect{"no polyline but vertices", "VECT 0 3 0 0 0 0 1 0 0 0 1 0", "without polylines"},
        // Counts far beyond the text: refused before anything is stored.
        BadVect{"billions of vertices", "VECT 1 2000000000 0 -2000000000 0 0 0 0", "more numbers"},
        BadVect{"count past 64 bits", "VECT 1 99999999999999999999 0", "whole number"},
        BadVect{"count near the 64-bit limit", "VECT 1 9223372036854775807 9223372036854775807 -1 1", "more numbers"}));

TEST(VectFile, PathsAreRecognisedByTheirExtension)
{
    EXPECT_TRUE(IsVectPath("knots/3_1.vect"));
    EXPECT_TRUE(IsVectPath("K.VECT"));
    EXPECT_FALSE(IsVectPath("k.txt"));
    EXPECT_FALSE(IsVectPath("vect"));
    EXPECT_FALSE(IsVectPath("k.vectx"));
    CDoubleArray x, y, z;
    std::string error;
    EXPECT_FALSE(ReadVectFile("/nonexistent-dir/k.vect", x, y, z, error));
    EXPECT_NE(error.find("/nonexistent-dir/k.vect"), std::string::npos);
}
