// ReadPointsFile against ParsePointsText: the file reader stores exactly the
// points the text rules give, whatever the arrays held before.
#include <gtest/gtest.h>

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
