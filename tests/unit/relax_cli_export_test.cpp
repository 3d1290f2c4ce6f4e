// vek-relax's run-until-tight, summary, JSON and tube export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "io/file_bytes.h"
#include "knot/polygon_thickness.h"
#include "relax/relax_cli.h"
#include "test_support.h"

namespace {

// The items of a JSON list of numbers "[1, -1, 1]", as texts.
std::vector<std::string> ListItems(const std::string& list)
{
    std::vector<std::string> items;
    std::string item;
    for (size_t k = 1; k + 1 < list.size(); ++k) {
        if (list[k] == ',') {
            items.push_back(item);
            item.clear();
        } else if (list[k] != ' ') {
            item += list[k];
        }
    }
    if (!item.empty() || !items.empty())
        items.push_back(item);
    return items;
}

// The flat JSON object of the summary: key -> value text. Fails the test on
// anything else than {"key": value, ...} with numbers, null, true, false,
// strings without escapes and lists of integers.
std::map<std::string, std::string> ParseFlatJson(const std::string& text)
{
    std::map<std::string, std::string> values;
    size_t k = 0;
    const auto skip = [&] {
        while (k < text.size() && (text[k] == ' ' || text[k] == '\n'))
            ++k;
    };
    skip();
    EXPECT_EQ(text[k], '{');
    ++k;
    while (true) {
        skip();
        EXPECT_EQ(text[k], '"') << text.substr(k);
        const size_t end = text.find('"', k + 1);
        EXPECT_NE(end, std::string::npos);
        const std::string key = text.substr(k + 1, end - k - 1);
        k = end + 1;
        skip();
        EXPECT_EQ(text[k], ':');
        ++k;
        skip();
        // A string runs to its closing quote, a list of integers to its
        // bracket; both are kept with their delimiters.
        const size_t closing = text[k] == '"' ? text.find('"', k + 1) : text[k] == '[' ? text.find(']', k) : k;
        EXPECT_NE(closing, std::string::npos) << key;
        const size_t valueEnd = text.find_first_of(",}", closing);
        EXPECT_NE(valueEnd, std::string::npos);
        const std::string value = text.substr(k, valueEnd - k);
        if (value.empty()) {
            ADD_FAILURE() << key << " has no value";
        } else if (value.front() == '"') {
            EXPECT_EQ(value.back(), '"') << key << ": " << value;
        } else if (value.front() == '[') {
            EXPECT_EQ(value.back(), ']') << key << ": " << value;
            for (const std::string& item : ListItems(value)) {
                char* parsed = nullptr;
                std::strtoll(item.c_str(), &parsed, 10);
                EXPECT_TRUE(!item.empty() && *parsed == '\0') << key << ": " << value;
            }
        } else if (value != "null" && value != "true" && value != "false") {
            char* parsed = nullptr;
            std::strtod(value.c_str(), &parsed);
            EXPECT_EQ(*parsed, '\0') << key << ": " << value;
        }
        EXPECT_TRUE(values.emplace(key, value).second) << "key twice: " << key;
        k = valueEnd + 1;
        if (text[valueEnd] == '}')
            break;
    }
    skip();
    EXPECT_EQ(k, text.size()) << "after the object: " << text.substr(k);
    return values;
}

}  // namespace

struct ExportArgsCase {
    std::vector<std::string> args;
    bool untilTight;
    long long maxIterations;
    std::string mesh;
    double scale;
    double unitsMm;  // 0: none
    bool json;
};

class RelaxCliExportArguments : public ::testing::TestWithParam<ExportArgsCase> {};

TEST_P(RelaxCliExportArguments, AreParsed)
{
    const ExportArgsCase& c = GetParam();
    vek::RelaxOptions options;
    std::string error;
    ASSERT_TRUE(vek::ParseRelaxArguments(c.args, options, error)) << error;
    EXPECT_EQ(options.input, "k.txt");
    EXPECT_EQ(options.untilTight, c.untilTight);
    EXPECT_EQ(options.maxIterations, c.maxIterations);
    EXPECT_EQ(options.mesh, c.mesh);
    EXPECT_EQ(options.scale, c.scale);
    EXPECT_EQ(options.unitsMm.value_or(0.0), c.unitsMm);
    EXPECT_EQ(options.json, c.json);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RelaxCliExportArguments,
    ::testing::Values(
        ExportArgsCase{{"k.txt", "--until-tight"}, true, vek::kDefaultMaxIterations, "", 1.0, 0.0, false},
        ExportArgsCase{{"--until-tight", "--max-iterations=600", "k.txt"}, true, 600, "", 1.0, 0.0, false},
        ExportArgsCase{{"k.txt", "--mesh", "t.STL", "--units-mm", "5"}, false, vek::kDefaultMaxIterations, "t.STL",
                       1.0, 5.0, false},
        ExportArgsCase{{"k.txt", "--mesh=t.ply", "--scale", "0.5", "--json", "--output", "o.vect"}, false,
                       vek::kDefaultMaxIterations, "t.ply", 0.5, 0.0, true}));

class RelaxCliExportBadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(RelaxCliExportBadArguments, AreRefusedWithAMessage)
{
    vek::RelaxOptions options;
    std::string error;
    EXPECT_FALSE(vek::ParseRelaxArguments(GetParam(), options, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RelaxCliExportBadArguments,
    ::testing::Values(std::vector<std::string>{"k.txt", "--until-tight", "--iterations", "30"},
                      std::vector<std::string>{"k.txt", "--max-iterations", "30"},
                      std::vector<std::string>{"k.txt", "--until-tight", "--max-iterations", "ten"},
                      std::vector<std::string>{"k.txt", "--until-tight", "--max-iterations", "-1"},
                      std::vector<std::string>{"k.txt", "--until-tight", "--max-iterations", "1e6"},
                      std::vector<std::string>{"k.txt", "--until-tight=yes"},
                      std::vector<std::string>{"k.txt", "--json=1", "--output", "o.txt"},
                      std::vector<std::string>{"k.txt", "--json"},
                      std::vector<std::string>{"k.txt", "--mesh", "t.txt"},
                      std::vector<std::string>{"k.txt", "--mesh", "stl"},
                      std::vector<std::string>{"k.txt", "--mesh="},
                      std::vector<std::string>{"k.txt", "--mesh"},
                      std::vector<std::string>{"k.txt", "--scale", "2"},
                      std::vector<std::string>{"k.txt", "--units-mm", "5"},
                      std::vector<std::string>{"k.txt", "--mesh", "t.stl", "--units-mm", "0"},
                      std::vector<std::string>{"k.txt", "--mesh", "t.stl", "--units-mm", "-5"},
                      std::vector<std::string>{"k.txt", "--mesh", "t.stl", "--units-mm", "5mm"},
                      std::vector<std::string>{"k.txt", "--mesh", "t.stl", "--scale", "nan"},
                      std::vector<std::string>{"k.txt", "--mesh", "t.stl", "--scale", "0"}));

TEST(RelaxCliUntilSteady, StopsOnASettledLengthAfterTwoSpans)
{
    struct Case {
        const char* name;
        // Length after block b (1, 2, ...).
        double (*length)(long long b);
        long long expected;
        bool converged;
    };
    const Case cases[] = {
        {"constant", [](long long) { return 1.0; }, 2 * vek::kTightSpan, true},
        {"trembling about a level", [](long long b) { return 1.0 + (b % 2 ? 1e-3 : -1e-3); }, 2 * vek::kTightSpan,
         true},
        {"shrinking 1 % a block", [](long long b) { return std::pow(0.99, static_cast<double>(b)); }, 9000, false},
        {"trembling while shrinking",
         [](long long b) { return 2.0 - 0.002 * static_cast<double>(b) + (b % 2 ? 1e-3 : -1e-3); }, 9000, false},
        // Decaying towards 1: the means of blocks b-19 ... b-10 and b-9 ... b
        // differ by about 0.813 e^(-0.05 b), below 1e-5 from block 227 on.
        {"decaying", [](long long b) { return 1.0 + std::exp(-0.05 * static_cast<double>(b)); }, 227 * 30, true},
    };
    for (const Case& c : cases) {
        long long block = 0;
        std::vector<long long> asked;
        const vek::TightRun run = vek::RunUntilSteady(
            9000,
            [&](long long count) {
                asked.push_back(count);
                ++block;
                return count;
            },
            [&] { return c.length(block); });
        EXPECT_EQ(run.converged, c.converged) << c.name;
        EXPECT_FALSE(run.refused) << c.name;
        for (long long count : asked)
            EXPECT_EQ(count, vek::kRunPeriod) << c.name;
        EXPECT_EQ(run.iterations, c.expected) << c.name;
    }
}

TEST(RelaxCliUntilSteady, LastBlockIsShortAndARefusalStops)
{
    std::vector<long long> asked;
    vek::TightRun run = vek::RunUntilSteady(
        100,
        [&](long long count) {
            asked.push_back(count);
            return count;
        },
        [&] { return static_cast<double>(asked.size()); });
    EXPECT_EQ(asked, (std::vector<long long>{30, 30, 30, 10}));
    EXPECT_EQ(run.iterations, 100);
    EXPECT_FALSE(run.converged);

    int blocks = 0;
    run = vek::RunUntilSteady(
        1000, [&](long long count) { return ++blocks < 3 ? count : 7; }, [] { return 1.0; });
    EXPECT_TRUE(run.refused);
    EXPECT_FALSE(run.converged);
    EXPECT_EQ(run.iterations, 67);
}

TEST(RelaxCliUntilTight, RunsTheSameCurveAsAFixedRun)
{
    CDoubleArray x, y, z, fx, fy, fz;
    ReadExampleTrefoil(x, y, z);
    ReadExampleTrefoil(fx, fy, fz);
    const vek::TightRun run = vek::RelaxUntilTight(x, y, z, 95, vek::kThickness, 1.0);
    EXPECT_EQ(run.iterations, 95);
    EXPECT_FALSE(run.converged);
    ASSERT_EQ(vek::RelaxCurve(fx, fy, fz, 95, vek::kThickness, 1.0), 95);
    ASSERT_EQ(x.GetSize(), fx.GetSize());
    for (int k = 0; k < x.GetSize(); ++k) {
        ASSERT_EQ(x[k], fx[k]) << k;
        ASSERT_EQ(y[k], fy[k]) << k;
        ASSERT_EQ(z[k], fz[k]) << k;
    }
}

// The until-tight run must not take much longer than a fixed run needs to
// come within 0.1 % of the length it settles at, and must end tight.
TEST(RelaxCliUntilTight, StopsOnATightTrefoilSoonAfterItIsTight)
{
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    const vek::TightRun run = vek::RelaxUntilTight(x, y, z, 100000, vek::kThickness, 1.0);
    ASSERT_TRUE(run.converged);
    const double stopLength = CurveLength(x, y, z);

    // The fixed run, 200 periods; its settled length is the mean of the last
    // 100, since a tight knot trembles by about 0.1 % from period to period.
    CDoubleArray fx, fy, fz;
    ReadExampleTrefoil(fx, fy, fz);
    std::vector<double> lengths;
    for (int block = 0; block < 200; ++block) {
        ASSERT_EQ(vek::RelaxCurve(fx, fy, fz, vek::kRunPeriod, vek::kThickness, 1.0), vek::kRunPeriod);
        lengths.push_back(CurveLength(fx, fy, fz));
    }
    double settled = 0.0;
    for (size_t k = 100; k < 200; ++k)
        settled += lengths[k] / 100;
    long long within = -1;
    for (size_t k = 0; k < lengths.size() && within < 0; ++k) {
        if (std::fabs(lengths[k] - settled) <= 1e-3 * settled)
            within = static_cast<long long>(k + 1) * vek::kRunPeriod;
    }
    ASSERT_GT(within, 0);
    EXPECT_LE(static_cast<double>(run.iterations), 1.5 * static_cast<double>(within))
        << run.iterations << " until tight, " << within << " fixed";
    EXPECT_NEAR(stopLength / settled, 1.0, 5e-3) << stopLength << " at the stop, settled " << settled;
    std::printf("until tight: %lld iterations, fixed run within 0.1 %%: %lld; length %.6f, settled %.6f\n",
                run.iterations, within, stopLength, settled);
}

TEST(RelaxCliSummary, TextAndJsonCarryTheSameMeasures)
{
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    const vek::KnotType start = vek::IdentifyCurveKnot(x, y, z);
    ASSERT_EQ(vek::RelaxCurve(x, y, z, 3000, vek::kThickness, 1.0), 3000);
    const vek::RelaxReport report = vek::MeasureRelaxation(x, y, z, vek::kThickness, start, 3000, 1.25, true);
    const std::string text = vek::FormatRelaxSummary(report);
    for (const char* line : {"knot at start: 3_1 (Alexander 1 -1 1, determinant 3, v2 1, HOMFLY-PT 2*v^2 - v^4 + "
                             "v^2*z^2)\n",
                             "knot at end: 3_1 (Alexander 1 -1 1, determinant 3, v2 1, HOMFLY-PT 2*v^2 - v^4 + "
                             "v^2*z^2)\n",
                             "nominal length / thickness: ", "certified thickness (tube radius): 0.01",
                             "ropelength (length / (2 * certified thickness)): ", "overlap (thickness / (2 * ",
                             "contacts (closer than 1.01 thickness): ", "min contact distance / thickness: 0.9",
                             "converged: yes"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

    const std::string json = vek::FormatRelaxJson(report);
    EXPECT_EQ(json.find('\n'), json.size() - 1) << "one line";
    const std::map<std::string, std::string> values = ParseFlatJson(json);
    for (const char* key : {"points", "length", "thickness", "knot_start", "alexander_start", "determinant_start",
                            "v2_start", "knot", "alexander", "determinant", "v2", "nominal_ropelength",
                            "certified_thickness", "ropelength", "overlap", "min_nonlocal_distance_over_thickness",
                            "contacts", "min_contact_distance_over_thickness", "iterations", "seconds", "converged",
                            "knot_candidates", "knot_candidates_start", "homfly", "homfly_start"})
        EXPECT_EQ(values.count(key), 1u) << key;
    EXPECT_EQ(std::stod(values.at("length")), report.length) << "17 digits read back exactly";
    EXPECT_EQ(std::stod(values.at("nominal_ropelength")), report.length / vek::kThickness);
    EXPECT_EQ(std::stoll(values.at("contacts")), report.contacts.count);
    EXPECT_EQ(std::stoi(values.at("points")), x.GetSize());
    EXPECT_EQ(values.at("converged"), "true");
    EXPECT_EQ(values.at("knot_start"), "\"3_1\"");
    EXPECT_EQ(values.at("knot"), "\"3_1\"");
    EXPECT_EQ(values.at("alexander"), "[1, -1, 1]");
    EXPECT_EQ(values.at("determinant"), "3");
    EXPECT_EQ(values.at("v2"), "1");
    EXPECT_EQ(values.at("knot_candidates"), "[]");
    EXPECT_EQ(values.at("homfly"), "\"2*v^2 - v^4 + v^2*z^2\"");

    // The certified figures are those of the polygon's own thickness: a
    // radius a little below half the nominal thickness, since the relaxed
    // tube overlaps itself slightly.
    const vek::PolygonThickness certified = vek::ComputePolygonThickness(
        {x.GetData(), static_cast<size_t>(x.GetSize())}, {y.GetData(), static_cast<size_t>(y.GetSize())},
        {z.GetData(), static_cast<size_t>(z.GetSize())});
    const double delta = std::stod(values.at("certified_thickness"));
    EXPECT_EQ(delta, certified.thickness);
    EXPECT_GT(delta, 0.45 * vek::kThickness);
    EXPECT_LT(delta, 0.5 * vek::kThickness);
    EXPECT_DOUBLE_EQ(std::stod(values.at("ropelength")), report.length / (2 * delta));
    EXPECT_DOUBLE_EQ(std::stod(values.at("overlap")), vek::kThickness / (2 * delta) - 1);
    // No tube can be tighter than the best trefoils known (16.37); the 65
    // points of the relaxed example are coarse, which costs a little.
    EXPECT_GT(std::stod(values.at("ropelength")), 16.37);
    EXPECT_LT(std::stod(values.at("ropelength")), 17.5);

    // A circle shrinks out of reach of itself: no distances, null in JSON.
    CDoubleArray cx, cy, cz;
    for (int k = 0; k < 10; ++k) {
        cx.Add(0.01 * std::cos(k * 0.6283185307179586));
        cy.Add(0.01 * std::sin(k * 0.6283185307179586));
        cz.Add(0.0);
    }
    const std::map<std::string, std::string> none = ParseFlatJson(vek::FormatRelaxJson(
        vek::MeasureRelaxation(cx, cy, cz, vek::kThickness, vek::IdentifyCurveKnot(cx, cy, cz), 0, 0.0)));
    EXPECT_EQ(none.at("min_nonlocal_distance_over_thickness"), "null");
    EXPECT_EQ(none.at("min_contact_distance_over_thickness"), "null");
    EXPECT_EQ(none.at("converged"), "null");
    EXPECT_EQ(none.at("contacts"), "0");
    EXPECT_EQ(none.at("knot"), "\"0_1\"");
    EXPECT_EQ(none.at("alexander"), "[1]");
    // A regular 10-gon of radius 0.01: Delta = 0.01 cos(pi / 10).
    EXPECT_NEAR(std::stod(none.at("certified_thickness")), 0.01 * std::cos(0.3141592653589793), 1e-12);
}

// A curve that cannot be projected has no knot and no certified thickness:
// null, never a made-up figure; an unnamed knot keeps its invariants.
TEST(RelaxCliSummary, MissingKnotAndThicknessAreNullAndUnknownKeepsItsInvariants)
{
    CDoubleArray x, y, z;
    for (int k = 0; k < 2; ++k) {
        x.Add(0.1 * k);
        y.Add(0.0);
        z.Add(0.0);
    }
    const vek::RelaxReport report =
        vek::MeasureRelaxation(x, y, z, vek::kThickness, vek::IdentifyCurveKnot(x, y, z), 0, 0.0);
    const std::map<std::string, std::string> values = ParseFlatJson(vek::FormatRelaxJson(report));
    for (const char* key : {"knot_start", "alexander_start", "determinant_start", "v2_start", "knot", "alexander",
                            "determinant", "v2", "ropelength", "overlap", "knot_candidates", "homfly"})
        EXPECT_EQ(values.at(key), "null") << key;
    EXPECT_EQ(values.at("certified_thickness"), "0");
    const std::string text = vek::FormatRelaxSummary(report);
    EXPECT_NE(text.find("knot at end: not identified"), std::string::npos) << text;
    EXPECT_NE(text.find("ropelength (length / (2 * certified thickness)): none"), std::string::npos) << text;

    vek::RelaxReport unnamed = report;
    unnamed.knotStart = {true, "unknown", {1, -2, 3, -2, 1}, 9, 2, 6, 6};
    const std::map<std::string, std::string> sum = ParseFlatJson(vek::FormatRelaxJson(unnamed));
    EXPECT_EQ(sum.at("knot_start"), "\"unknown\"");
    EXPECT_EQ(sum.at("alexander_start"), "[1, -2, 3, -2, 1]");
    EXPECT_EQ(sum.at("determinant_start"), "9");
    EXPECT_NE(vek::FormatRelaxSummary(unnamed).find("knot at start: unknown (Alexander 1 -2 3 -2 1, determinant 9"),
              std::string::npos);
}

TEST(RelaxCliExport, StlInMillimetresHasTheTubeThicknessAskedFor)
{
    CDoubleArray x, y, z;
    ReadTightTrefoil(x, y, z);
    ASSERT_FALSE(HasFatalFailure());
    const std::string path = ::testing::TempDir() + "vek_relax_cli_export_test.stl";
    std::string error;
    for (const double scale : {1.0, 2.0}) {
        ASSERT_TRUE(vek::ExportTubeMesh(x, y, z, vek::kThickness, scale, 5.0, path, error)) << error;
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(path, bytes, error)) << error;
        std::remove(path.c_str());
        ASSERT_GE(bytes.size(), 84u);
        std::uint32_t count = 0;
        for (int k = 3; k >= 0; --k)
            count = (count << 8) | static_cast<unsigned char>(bytes[80 + k]);
        EXPECT_EQ(count, 2u * vek::kRingSegments * static_cast<std::uint32_t>(x.GetSize()));
        EXPECT_EQ(bytes.size(), 84u + 50u * count);
        // Every corner lies 2.5 mm from its ring's centre, the centre line
        // scaled by 5 mm / (scale * 0.03) per model unit. A wider tube
        // overlaps the next strand, whose centre may then be nearer.
        const double perUnit = 5.0 / (scale * vek::kThickness);
        double nearest = 1e300, farthest = 0.0;
        for (std::uint32_t t = 0; t < count; t += 7) {
            float corner[3];
            std::memcpy(corner, bytes.data() + 84 + 50 * t + 12, sizeof corner);
            double best = 1e300;
            for (int k = 0; k < x.GetSize(); ++k) {
                const double dx = corner[0] - perUnit * x[k], dy = corner[1] - perUnit * y[k],
                             dz = corner[2] - perUnit * z[k];
                best = std::min(best, std::sqrt(dx * dx + dy * dy + dz * dz));
            }
            nearest = std::min(nearest, best);
            farthest = std::max(farthest, best);
        }
        EXPECT_NEAR(farthest, 2.5, 1e-3) << scale;
        if (scale == 1.0) {
            EXPECT_GT(nearest, 2.3);
        }
    }

    CDoubleArray tx, ty, tz;
    for (int k = 0; k < 2; ++k) {
        tx.Add(k);
        ty.Add(0);
        tz.Add(0);
    }
    EXPECT_FALSE(vek::ExportTubeMesh(tx, ty, tz, vek::kThickness, 1.0, std::nullopt, path, error));
    EXPECT_NE(error.find("at least 3"), std::string::npos) << error;
    EXPECT_FALSE(vek::ExportTubeMesh(x, y, z, vek::kThickness, 1.0, std::nullopt, "/nonexistent-dir/t.obj", error));
}

TEST(RelaxCliRefine, TakesAListOfPrecisionsAboveZeroAndRefusesTheRest)
{
    struct Case {
        std::vector<std::string> args;
        std::vector<double> refine;  // empty: refused
    };
    for (const Case& c : {Case{{"k.txt", "--refine", "3,10"}, {3.0, 10.0}},
                          Case{{"k.txt", "--refine=2.5"}, {2.5}},
                          Case{{"k.txt", "--refine", "3", "--max-iterations", "600"}, {3.0}},
                          Case{{"k.txt", "--refine", ""}, {}}, Case{{"k.txt", "--refine", "3,"}, {}},
                          Case{{"k.txt", "--refine", ",3"}, {}}, Case{{"k.txt", "--refine", "3,,10"}, {}},
                          Case{{"k.txt", "--refine", "0"}, {}}, Case{{"k.txt", "--refine", "-3"}, {}},
                          Case{{"k.txt", "--refine", "3,nan"}, {}}, Case{{"k.txt", "--refine", "3;10"}, {}},
                          Case{{"k.txt", "--refine"}, {}}}) {
        vek::RelaxOptions options;
        std::string error;
        const bool parsed = vek::ParseRelaxArguments(c.args, options, error);
        EXPECT_EQ(parsed, !c.refine.empty()) << c.args.back() << ": " << error;
        if (parsed)
            EXPECT_EQ(options.refine, c.refine);
        else
            EXPECT_FALSE(error.empty());
    }
}
