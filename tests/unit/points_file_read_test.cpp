// ReadPointsFile against ParsePointsText: the file reader stores exactly the
// points the text rules give, whatever the arrays held before.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "io/points_file.h"

namespace {

std::string WriteTemp(const std::string& name, const std::string& text)
{
    const std::string path = (std::filesystem::temp_directory_path() / ("vek_points_read_" + name)).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<double> Flat(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    EXPECT_EQ(x.GetSize(), y.GetSize());
    EXPECT_EQ(x.GetSize(), z.GetSize());
    std::vector<double> out;
    for (int i = 0; i < x.GetSize(); ++i)
        out.insert(out.end(), {x[i], y[i], z[i]});
    return out;
}

void Fill(CDoubleArray& a, int count, double value)
{
    a.SetSize(0);
    for (int i = 0; i < count; ++i)
        a.Add(value + i);
}

struct ReadCase {
    const char* name;
    std::string text;
};

class PointsFileRead : public ::testing::TestWithParam<ReadCase> {};

// Arrays that held nothing, fewer points than the file and more: the file's
// points replace them all, bit for bit as the text rules read them.
TEST_P(PointsFileRead, StoresWhatTheTextRulesRead)
{
    const std::string path = WriteTemp(GetParam().name, GetParam().text);
    CDoubleArray px, py, pz;
    ParsePointsText(GetParam().text, px, py, pz);
    const std::vector<double> expected = Flat(px, py, pz);
    for (int held : {0, 1, 5, 4000}) {
        CDoubleArray x, y, z;
        Fill(x, held, 100.0);
        Fill(y, held + (held > 0), 200.0);  // sizes that differ are put right too
        Fill(z, held, 300.0);
        std::string error;
        ASSERT_TRUE(ReadPointsFile(path, x, y, z, error)) << error;
        const std::vector<double> read = Flat(x, y, z);
        ASSERT_EQ(read.size(), expected.size()) << "held " << held;
        if (!read.empty()) {  // bit for bit: signed zeros count
            EXPECT_EQ(std::memcmp(read.data(), expected.data(), read.size() * sizeof(double)), 0) << "held " << held;
        }
    }
    std::filesystem::remove(path);
}

std::string ManyPoints(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + " " + std::to_string(-i) + " 0.5\r\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PointsFileRead,
    ::testing::Values(ReadCase{"empty", ""}, ReadCase{"one", "1 2 3"}, ReadCase{"short_last", "1 2 3\n4 5"},
                      ReadCase{"overflow_ends", "1 2 3 4 1e999 6"}, ReadCase{"signed_zero", "-1e-999 -0 0"},
                      ReadCase{"not_numbers", "1 2 3 inf 5 6"}, ReadCase{"five_thousand", ManyPoints(5000)}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// A large file reads whole, its last point included.
TEST(PointsFileReadLarge, ThreeHundredThousandPoints)
{
    const std::string path = WriteTemp("large", ManyPoints(300000));
    CDoubleArray x, y, z;
    std::string error;
    ASSERT_TRUE(ReadPointsFile(path, x, y, z, error)) << error;
    ASSERT_EQ(x.GetSize(), 300000);
    EXPECT_EQ(x[299999], 299999.0);
    EXPECT_EQ(y[299999], -299999.0);
    EXPECT_EQ(z[123456], 0.5);
    std::filesystem::remove(path);
}

}  // namespace

// What a reading tells besides its points: for a text without points what
// it holds, for one with points where it stopped short and a last point
// with missing coordinates.
struct FindingCase {
    const char* name;
    std::string text;
    long long points;
    std::vector<std::string> said;  // in noPoints, or each in one note
};

class PointsFileFindings : public ::testing::TestWithParam<FindingCase> {};

TEST_P(PointsFileFindings, SayWhatTheTextHolds)
{
    PointsReading reading;
    ScanPointsText(GetParam().text, reading);
    EXPECT_EQ(reading.points, GetParam().points);
    EXPECT_EQ(reading.noPoints.empty(), reading.points > 0);
    std::string told = reading.noPoints;
    for (const std::string& note : reading.notes)
        told += "|" + note;
    for (const std::string& said : GetParam().said) {
        EXPECT_NE(told.find(said), std::string::npos) << told;
    }
    if (GetParam().said.empty()) {
        EXPECT_EQ(told, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointsFileFindings,
    ::testing::Values(
        FindingCase{"empty", "", 0, {"an empty file"}},
        FindingCase{"white space", " \r\n\t", 0, {"only white space"}},
        FindingCase{"binary", std::string("\0\1\2", 3), 0, {"binary data, not text"}},
        FindingCase{"UTF-16", "\xFF\xFE" "1", 0, {"a UTF-16 text file"}},
        FindingCase{"UTF-32", std::string("\xFF\xFE\0\0", 4), 0, {"a UTF-32 text file"}},
        FindingCase{"a word first", "\n\nnan 1 2", 0, {"line 3 starts with \"nan\""}},
        FindingCase{"a long word is cut", "abcdefghijklmnopqrstuvwxyz", 0, {"\"abcdefghijklmnopqrst...\""}},
        FindingCase{"control bytes are not echoed", "x\x1b[2J", 0, {"\"x?[2J\""}},
        FindingCase{"whole points", "1 2 3\r\n4 5 6\r\n", 2, {}},
        FindingCase{"nan in the middle", "1 2 3\n4 5 6\nnan 0 0\n", 2,
                    {"line 3 at \"nan\" (not a number); the 2 points before it are kept"}},
        FindingCase{"too large in the middle", "1 2 3\n1e999 0 0\n", 1, {"line 2 at \"1e999\" (too large"}},
        FindingCase{"an incomplete last point", "1 2 3\n4 5\n", 2, {"line 2) has 2 of its 3 coordinates"}},
        FindingCase{"stopped inside a point", "1 2 3\n4\nend", 2,
                    {"line 3 at \"end\"", "line 2) has 1 of its 3 coordinates"}}),
    [](const ::testing::TestParamInfo<FindingCase>& info) {
        std::string name;
        for (const char* p = info.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

// Beyond the limit the points are counted but not stored.
TEST(PointsFileFindings, PointsBeyondTheLimitAreCountedNotStored)
{
    PointsReading reading;
    ScanPointsText("1 2 3 4 5 6 7 8 9", reading, 2);
    EXPECT_EQ(reading.points, 3);
    EXPECT_EQ(reading.xyz, (std::vector<double>{1, 2, 3, 4, 5, 6}));
}
