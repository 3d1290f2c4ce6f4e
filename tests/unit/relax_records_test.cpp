// The records of a vek-relax run: the convergence log (--log).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "io/file_bytes.h"
#include "relax/relax_cli.h"
#include "relax/relax_log.h"
#include "relax/relax_records.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t first = 0;
    while (true) {
        const size_t next = text.find(separator, first);
        parts.push_back(text.substr(first, next == std::string::npos ? next : next - first));
        if (next == std::string::npos)
            return parts;
        first = next + 1;
    }
}

// The field as a number; NaN for an empty field, and a test failure for
// anything that is not wholly a number.
double Number(const std::string& field)
{
    if (field.empty())
        return std::nan("");
    double value = 0.0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == field.data() + field.size()) << field;
    return value;
}

}  // namespace

struct LogRowCase {
    const char* name;
    vek::RelaxLogRow row;
    // The fields nominal, ropelength, min distance / thickness; NaN: empty.
    double nominal, ropelength, nearest;
};

class RelaxLogRowFormat : public ::testing::TestWithParam<LogRowCase> {};

TEST_P(RelaxLogRowFormat, HasSevenFieldsThatReadBackExactly)
{
    const LogRowCase& c = GetParam();
    const std::string line = vek::FormatRelaxLogRow(c.row, vek::kThickness);
    ASSERT_EQ(line.back(), '\n');
    const std::vector<std::string> fields = Split(line.substr(0, line.size() - 1), ',');
    ASSERT_EQ(fields.size(), Split(vek::RelaxLogHeader(), ',').size()) << line;
    EXPECT_EQ(fields[0], std::to_string(c.row.iteration));
    EXPECT_EQ(fields[1], std::to_string(c.row.points));
    EXPECT_EQ(fields[6], std::to_string(c.row.contacts));
    const double expected[] = {std::isfinite(c.row.length) ? c.row.length : std::nan(""), c.nominal, c.ropelength,
                               c.nearest};
    for (int k = 0; k < 4; ++k) {
        const double read = Number(fields[2 + k]);
        if (std::isnan(expected[k]))
            EXPECT_TRUE(fields[2 + k].empty()) << c.name << " field " << 2 + k << ": " << fields[2 + k];
        else
            EXPECT_EQ(read, expected[k]) << c.name << " field " << 2 + k;
    }
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, RelaxLogRowFormat,
    ::testing::Values(
        LogRowCase{"tight", {2400, 656, 0.4884, 0.0144, 0.0291, 146}, 0.4884 / 0.03, 0.4884 / (2 * 0.0144), 0.0291 / 0.03},
        LogRowCase{"no certified thickness", {0, 3, 0.9, 0.0, 0.3, 0}, 0.9 / 0.03, kNone, 0.3 / 0.03},
        LogRowCase{"no non-local pair", {30, 4, 0.2, 0.01, kInf, 0}, 0.2 / 0.03, 0.2 / (2 * 0.01), kNone},
        LogRowCase{"empty curve", {60, 0, 0.0, 0.0, kInf, 0}, 0.0, kNone, kNone},
        LogRowCase{"length overflowed", {90, 10, kInf, 0.0, kInf, 0}, kNone, kNone, kNone}));

TEST(RelaxLogFile, HoldsTheHeaderAndOneRowPerWrite)
{
    const fs::path path = FreshTempFolder("relax_records_rows") / "log.csv";
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    vek::RelaxLog log;
    std::string error;
    ASSERT_TRUE(log.Open(path.string(), error)) << error;
    for (const long long iteration : {0, 30, 45})
        ASSERT_TRUE(log.Write(x, y, z, vek::kThickness, iteration, error)) << error;
    ASSERT_TRUE(log.Close(error)) << error;

    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path.string(), bytes, error)) << error;
    const std::vector<std::string> lines = Split(bytes, '\n');
    ASSERT_EQ(lines.size(), 5u) << bytes;  // header, three rows, nothing after the last newline
    EXPECT_EQ(lines[0] + "\n", vek::RelaxLogHeader());
    EXPECT_EQ(lines[4], "");
    const vek::RelaxLogRow measured = vek::MeasureRelaxLogRow(x, y, z, vek::kThickness, 45);
    EXPECT_EQ(lines[3] + "\n", vek::FormatRelaxLogRow(measured, vek::kThickness));
    EXPECT_EQ(Split(lines[1], ',')[0], "0");
    EXPECT_EQ(Split(lines[2], ',')[0], "30");
    // The sketch as read has a certified thickness and non-local pairs.
    EXPECT_GT(measured.certifiedThickness, 0.0);
    EXPECT_TRUE(std::isfinite(measured.nearest));
}

TEST(RelaxLogFile, RefusesANameItCannotWrite)
{
    const fs::path folder = FreshTempFolder("relax_records_refused");
    for (const fs::path& path : {folder / "missing" / "log.csv", folder}) {
        vek::RelaxLog log;
        std::string error;
        EXPECT_FALSE(log.Open(path.string(), error)) << path;
        EXPECT_NE(error.find("--log"), std::string::npos) << error;
        CDoubleArray x, y, z;
        EXPECT_FALSE(log.Write(x, y, z, vek::kThickness, 0, error));
    }
}

TEST(RelaxRecords, RefuseALogThatIsTheInputFileUnderAnotherName)
{
    const fs::path folder = FreshTempFolder("relax_records_same_file");
    const fs::path input = folder / "knot.txt";
    fs::copy_file(ExamplePath("trefoil.txt"), input);
    const auto size = fs::file_size(input);
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    vek::RelaxOptions options;
    options.input = input.string();
    options.log = (folder / "." / "knot.txt").string();
    vek::RelaxRecords records(x, y, z, vek::kThickness);
    std::string error;
    EXPECT_FALSE(records.Start(options, error));
    EXPECT_NE(error.find("overwritten"), std::string::npos) << error;
    EXPECT_EQ(fs::file_size(input), size);
}

TEST(RelaxRecords, LogTheStartAndEveryBlock)
{
    const fs::path folder = FreshTempFolder("relax_records_blocks");
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    vek::RelaxOptions options;
    options.input = ExamplePath("trefoil.txt");
    options.log = (folder / "log.csv").string();
    vek::RelaxRecords records(x, y, z, vek::kThickness);
    std::string error;
    ASSERT_TRUE(records.Start(options, error)) << error;
    records.AfterBlock(30);
    records.AfterBlock(40);
    EXPECT_TRUE(records.Finish());
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(options.log, bytes, error)) << error;
    const std::vector<std::string> lines = Split(bytes, '\n');
    ASSERT_EQ(lines.size(), 5u) << bytes;
    EXPECT_EQ(Split(lines[1], ',')[0], "0");
    EXPECT_EQ(Split(lines[2], ',')[0], "30");
    EXPECT_EQ(Split(lines[3], ',')[0], "40");
}

TEST(RelaxRecordsArguments, TakeALogFileAndRefuseOneThatOverwritesTheCurve)
{
    vek::RelaxOptions options;
    std::string error;
    ASSERT_TRUE(vek::ParseRelaxArguments({"k.txt", "--until-tight", "--log", "run.csv"}, options, error)) << error;
    EXPECT_EQ(options.log, "run.csv");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"k.txt", "--log"}, std::vector<std::string>{"k.txt", "--log="},
          std::vector<std::string>{"k.txt", "--log", "k.txt"},
          std::vector<std::string>{"k.txt", "--output", "o.txt", "--log=o.txt"}}) {
        vek::RelaxOptions refused;
        EXPECT_FALSE(vek::ParseRelaxArguments(args, refused, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}
