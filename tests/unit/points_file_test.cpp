#include "io/points_file.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

std::vector<Point> Parse(std::string_view text)
{
    CDoubleArray x, y, z;
    ParsePointsText(text, x, y, z);
    return PointsOf(x, y, z);
}

std::string Format(const std::vector<Point>& points)
{
    CDoubleArray x, y, z;
    SetArrays(x, y, z, points);
    return FormatPointsText(x, y, z);
}

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("vek_points_file_test_" + name)).string();
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

struct FieldCase {
    double value;
    const char* field;
};

class PointsFileField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PointsFileField, SixDigitsThreeDigitExponentRightAlignedIn16)
{
    const FieldCase c = GetParam();
    const std::string line = Format({{c.value, 0.0, 0.0}});
    ASSERT_EQ(line.size(), 52u);
    EXPECT_EQ(line.substr(0, 16), c.field);
    EXPECT_EQ(line.substr(16), "    0.000000e+000    0.000000e+000\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointsFileField,
    ::testing::Values(FieldCase{0.0, "   0.000000e+000"}, FieldCase{1.0, "   1.000000e+000"},
                      FieldCase{-0.25, "  -2.500000e-001"}, FieldCase{-0.6666666666666666, "  -6.666667e-001"},
                      FieldCase{9.9999996, "   1.000000e+001"}, FieldCase{1e-300, "   1.000000e-300"},
                      FieldCase{-1.5e100, "  -1.500000e+100"}, FieldCase{123456789.0, "   1.234568e+008"},
                      FieldCase{-1.7976931348623157e308, "  -1.797693e+308"},
                      FieldCase{4.9406564584124654e-324, "   4.940656e-324"}, FieldCase{-0.0, "  -0.000000e+000"},
                      // Not finite: kept readable.
                      FieldCase{std::numeric_limits<double>::infinity(), "   1.797693e+308"},
                      FieldCase{-std::numeric_limits<double>::infinity(), "  -1.797693e+308"},
                      FieldCase{std::numeric_limits<double>::quiet_NaN(), "   0.000000e+000"}));

TEST(PointsFileFormat, LinesOf50CharactersEndedByCrLf)
{
    EXPECT_EQ(Format({{1.0, -0.25, 0.1}}), "   1.000000e+000   -2.500000e-001    1.000000e-001\r\n");
    EXPECT_EQ(Format({{-0.6666666666666666, 0.5, 0.1}}), "  -6.666667e-001    5.000000e-001    1.000000e-001\r\n");
    const std::string three = Format({{1, 2, 3}, {-4, 5e-5, 6e6}, {0.1, 0.2, 0.3}});
    EXPECT_EQ(three.size(), 156u);
    for (size_t line = 0; line < 3; ++line)
        EXPECT_EQ(three.substr(line * 52 + 50, 2), "\r\n");
    EXPECT_EQ(Format({}), "");
}

TEST(PointsFileFormat, ALongCurveIsItsLinesJoinedInOrder)
{
    // Long enough for several blocks of lines formatted side by side, and
    // not a whole number of them.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-3.0, 3.0);
    std::vector<Point> points(20011);
    for (Point& p : points)
        p = {coordinate(random), coordinate(random), coordinate(random)};
    const std::string whole = Format(points);
    ASSERT_EQ(whole.size(), points.size() * 52);
    size_t wrong = 0;
    for (size_t k = 0; k < points.size(); ++k)
        wrong += whole.compare(k * 52, 52, Format({points[k]})) != 0;
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(Parse(whole).size(), points.size());
}

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<Point> points;
};

class PointsFileParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(PointsFileParse, ReadsAsTheCScanWould)
{
    const ParseCase& c = GetParam();
    EXPECT_EQ(Parse(c.text), c.points) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointsFileParse,
    ::testing::Values(
        ParseCase{"six numbers on one line", "1 2 3 4 5 6", {{1, 2, 3}, {4, 5, 6}}},
        ParseCase{"short last point repeats the previous", "1 2 3\n4 5", {{1, 2, 3}, {4, 5, 3}}},
        ParseCase{"commas end the reading", "1,2,3", {{1, 0, 0}}},
        ParseCase{"header line loads nothing", "x y z\r\n1 2 3\r\n", {}},
        ParseCase{"empty", "", {}},
        ParseCase{"white space only", " \t\r\n", {}},
        ParseCase{"two-digit exponents and LF", "1.000000e+00 -2.5e-01 1.0E-01\n2e+00 0 0\n",
                  {{1, -0.25, 0.1}, {2, 0, 0}}},
        ParseCase{"any white space, lines do not matter", "\t1\v2\f3\r\n\r\n4\n5\n6 ", {{1, 2, 3}, {4, 5, 6}}},
        ParseCase{"signs and bare points", "+1 -2 +3 .5 5. -.5e1", {{1, -2, 3}, {0.5, 5, -5}}},
        ParseCase{"trailing text after whole points", "1 2 3 end", {{1, 2, 3}}},
        ParseCase{"hexadecimal is not a number form", "0x1p3 2 3", {{0, 0, 0}}},
        ParseCase{"inf is not a number", "inf 2 3", {}},
        ParseCase{"nan is not a number", "1 nan 3", {{1, 0, 0}}},
        ParseCase{"signed inf is not a number", "1 2 -inf", {{1, 2, 0}}},
        ParseCase{"a long number is read whole", "12345678901234567890", {{12345678901234567890.0, 0, 0}}},
        ParseCase{"a long signed number is read whole", "-1234567890123456789 0 0", {{-1234567890123456789.0, 0, 0}}},
        ParseCase{"full precision (%.18e) is read whole",
                  "1.000000000000000056e-01 -2.500000000000000000e+00 3.333333333333333148e-01",
                  {{0.1, -2.5, 0.3333333333333333}}},
        ParseCase{"a long exponent is read whole", "123456789012345e7 8 9", {{1.23456789012345e21, 8, 9}}},
        ParseCase{"a long underflow reads as zero", "0.000000000000000000001e-400 1 2", {{0, 1, 2}}},
        ParseCase{"a long overflow ends the reading", "1 2 3 100000000000000000000e300 5 6", {{1, 2, 3}}},
        ParseCase{"a UTF-8 byte-order mark is skipped", "\xEF\xBB\xBF" "1 2 3", {{1, 2, 3}}},
        ParseCase{"exponent without digits is ignored", "1e 2e+ 3E-", {{1, 2, 3}}},
        ParseCase{"exponent mark then junk", "1ex", {{1, 0, 0}}},
        ParseCase{"second point ends a number", "1.2.3", {{1.2, 0.3, 0}}},
        ParseCase{"lone sign ends the reading", "1 - 3 4 5 6", {{1, 0, 0}}},
        ParseCase{"lone point ends the reading", "1 2 . 4 5 6", {{1, 2, 0}}},
        ParseCase{"sign and point without digit", "-. 1 2", {}},
        ParseCase{"overflow ends the reading", "1 2 3 4 1e999 6", {{1, 2, 3}, {4, 2, 3}}},
        ParseCase{"negative overflow ends the reading", "-1e400 2 3", {}},
        ParseCase{"underflow reads as zero", "1e-999 2 3", {{0, 2, 3}}},
        ParseCase{"smallest subnormal survives", "4.94066e-324 0 0", {{4.9406564584124654e-324, 0, 0}}},
        ParseCase{"nul byte ends the reading", std::string("1 2 3\0 4 5 6", 12), {{1, 2, 3}}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) {
        std::string name;
        for (const char* p = info.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(PointsFileParse, NumbersTooSmallKeepTheirSignAndSubnormalsAreKept)
{
    const std::vector<Point> points = Parse("-1e-999 4.94066e-324 2.5e-320");
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].x, 0.0);
    EXPECT_TRUE(std::signbit(points[0].x));
    EXPECT_EQ(points[0].y, std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(points[0].z, 2.5e-320);
}

TEST(PointsFileParse, AppendsToThePointsAlreadyThere)
{
    CDoubleArray x, y, z;
    x.Add(9);
    y.Add(9);
    z.Add(9);
    ParsePointsText("1 2", x, y, z);  // holders start at 0 for every text
    ASSERT_EQ(x.GetSize(), 2);
    EXPECT_EQ(x[1], 1.0);
    EXPECT_EQ(y[1], 2.0);
    EXPECT_EQ(z[1], 0.0);
}

TEST(PointsFileRoundTrip, EveryCoordinateBecomesTheDoubleNearestItsSevenDigitForm)
{
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 300);
    std::vector<Point> points;
    for (int k = 0; k < 2000; ++k) {
        auto value = [&] { return mantissa(rng) * std::pow(10.0, exponent(rng) / 10); };
        points.push_back({value(), value(), value()});
    }
    points.push_back({-0.6666666666666666, 0.5, 0.1});
    const std::vector<Point> back = Parse(Format(points));
    ASSERT_EQ(back.size(), points.size());
    for (size_t k = 0; k < points.size(); ++k) {
        const double original[3] = {points[k].x, points[k].y, points[k].z};
        const double read[3] = {back[k].x, back[k].y, back[k].z};
        for (int c = 0; c < 3; ++c) {
            // The C library's own "%.6e", read back with a correctly rounded
            // conversion.
            char text[32];
            std::snprintf(text, sizeof text, "%.6e", original[c]);
            double expected = 0.0;
            std::from_chars(text, text + std::strlen(text), expected);
            ASSERT_EQ(read[c], expected) << text;
        }
    }
    EXPECT_EQ(back.back(), (Point{-0.6666667, 0.5, 0.1}));
}

TEST(PointsFileRoundTrip, NonFiniteCoordinatesAreWrittenReadably)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Point> back = Parse(Format({{inf, -inf, std::nan("")}, {1, 2, 3}}));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], (Point{1.797693e308, -1.797693e308, 0.0}));
    EXPECT_EQ(back[1], (Point{1, 2, 3}));
}

TEST(PointsFileIo, WriteThenReadGivesTheFileBytesAndPoints)
{
    const std::string path = TempPath("round_trip.txt");
    CDoubleArray x, y, z;
    for (double v : {1.0, -0.25, 0.1}) {
        x.Add(v);
        y.Add(v * 2);
        z.Add(v * 3);
    }
    std::string error;
    ASSERT_TRUE(WritePointsFile(path, x, y, z, error)) << error;
    EXPECT_EQ(ReadBytes(path), FormatPointsText(x, y, z));
    EXPECT_EQ(ReadBytes(path).size(), 156u);

    CDoubleArray rx, ry, rz;
    rx.Add(42.0);  // replaced, not appended to
    ry.Add(42.0);
    rz.Add(42.0);
    ASSERT_TRUE(ReadPointsFile(path, rx, ry, rz, error)) << error;
    ASSERT_EQ(rx.GetSize(), 3);
    EXPECT_EQ(rx[1], -0.25);
    EXPECT_EQ(ry[1], -0.5);
    EXPECT_EQ(rz[1], -0.75);

    // No points: an empty file, which reads as no points.
    CDoubleArray none;
    ASSERT_TRUE(WritePointsFile(path, none, none, none, error)) << error;
    EXPECT_EQ(ReadBytes(path), "");
    ASSERT_TRUE(ReadPointsFile(path, rx, ry, rz, error)) << error;
    EXPECT_EQ(rx.GetSize(), 0);
    std::filesystem::remove(path);
}

TEST(PointsFileIo, FailuresAreReportedAndLeaveThePointsAlone)
{
    CDoubleArray x, y, z;
    x.Add(1);
    y.Add(2);
    z.Add(3);
    std::string error;

    const std::string missing = TempPath("does_not_exist/points.txt");
    EXPECT_FALSE(ReadPointsFile(missing, x, y, z, error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_EQ(x.GetSize(), 1);

    const std::string dir = std::filesystem::temp_directory_path().string();
    error.clear();
    EXPECT_FALSE(ReadPointsFile(dir, x, y, z, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(x.GetSize(), 1);

    error.clear();
    EXPECT_FALSE(WritePointsFile(dir, x, y, z, error));
    EXPECT_NE(error.find("directory"), std::string::npos) << error;

    error.clear();
    EXPECT_FALSE(WritePointsFile(missing, x, y, z, error));
    EXPECT_FALSE(error.empty());

    if (std::filesystem::exists("/dev/full")) {
        error.clear();
        EXPECT_FALSE(WritePointsFile("/dev/full", x, y, z, error));
        EXPECT_NE(error.find("No space"), std::string::npos) << error;
    }
}
