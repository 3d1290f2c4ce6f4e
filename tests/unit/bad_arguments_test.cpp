// Every refusal of the command lines of vek-relax and vek-tube-picture, in
// one table: each is refused with a one-line message, which names the
// option at fault where the row says so.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "picture/tube_picture_arguments.h"
#include "relax/relax_options.h"

namespace {

enum class Tool { Relax, TubePicture };

struct BadArguments {
    Tool tool;
    std::vector<std::string> args;
    // The message holds this ("": any message), at its start with `first`.
    std::string named;
    bool first = false;
};

void PrintTo(const BadArguments& c, std::ostream* out)
{
    *out << (c.tool == Tool::Relax ? "vek-relax" : "vek-tube-picture");
    for (const std::string& arg : c.args)
        *out << " '" << arg << "'";
}

BadArguments Relax(std::vector<std::string> args, std::string named = "")
{
    return {Tool::Relax, std::move(args), std::move(named), false};
}

// After an input "k.txt".
BadArguments RelaxOn(std::vector<std::string> args, std::string named)
{
    args.insert(args.begin(), "k.txt");
    return Relax(std::move(args), std::move(named));
}

// A picture option with a bad value; the message starts with its name.
BadArguments Picture(const std::string& option, const std::string& value)
{
    return {Tool::TubePicture, {"k.txt", "p.png", option + "=" + value}, option + ":", true};
}

BadArguments PictureLine(std::vector<std::string> args, std::string named = "")
{
    return {Tool::TubePicture, std::move(args), std::move(named), false};
}

class BadArgumentsTable : public ::testing::TestWithParam<BadArguments> {};

TEST_P(BadArgumentsTable, AreRefusedWithAOneLineMessage)
{
    const BadArguments& c = GetParam();
    std::string error;
    if (c.tool == Tool::Relax) {
        vek::RelaxOptions options;
        EXPECT_FALSE(vek::ParseRelaxArguments(c.args, options, error));
    } else {
        TubePictureArguments arguments;
        const TubePictureOptions before;
        std::string usage;
        EXPECT_EQ(ParseTubePictureArguments(c.args, arguments, usage, error), TubePictureParse::Bad);
        // Nothing is half taken over.
        EXPECT_EQ(arguments.options.width, before.width);
        EXPECT_EQ(arguments.options.colour, before.colour);
    }
    ASSERT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    const size_t at = error.find(c.named);
    EXPECT_TRUE(c.first ? at == 0 : at != std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Relax, BadArgumentsTable,
    ::testing::Values(
        // Inputs, counts and precisions.
        Relax({}), Relax({"a.txt", "b.txt"}), Relax({"a.txt", "--iterations"}),
        Relax({"a.txt", "--iterations", "ten"}), Relax({"a.txt", "--iterations", "-5"}),
        Relax({"a.txt", "--iterations", "+5"}), Relax({"a.txt", "--iterations", "12x"}),
        Relax({"a.txt", "--iterations", ""}), Relax({"a.txt", "--iterations", "1000000001"}),
        Relax({"a.txt", "--iterations", "99999999999999999999999"}), Relax({"a.txt", "--precision", "inf"}),
        Relax({"a.txt", "--precision", "nan"}), Relax({"a.txt", "--precision", "1e999"}),
        Relax({"a.txt", "--precision", "1,5"}), Relax({"a.txt", "--output="}), Relax({"a.txt", "--verbose"}),
        Relax({"a.txt", "-x"}),
        // Until tight, the mesh and the JSON.
        Relax({"k.txt", "--until-tight", "--iterations", "30"}), Relax({"k.txt", "--max-iterations", "30"}),
        Relax({"k.txt", "--until-tight", "--max-iterations", "ten"}),
        Relax({"k.txt", "--until-tight", "--max-iterations", "-1"}),
        Relax({"k.txt", "--until-tight", "--max-iterations", "1e6"}), Relax({"k.txt", "--until-tight=yes"}),
        Relax({"k.txt", "--json=1", "--output", "o.txt"}), Relax({"k.txt", "--json"}),
        Relax({"k.txt", "--mesh", "t.txt"}), Relax({"k.txt", "--mesh", "stl"}), Relax({"k.txt", "--mesh="}),
        Relax({"k.txt", "--mesh"}), Relax({"k.txt", "--scale", "2"}), Relax({"k.txt", "--units-mm", "5"}),
        Relax({"k.txt", "--mesh", "t.stl", "--units-mm", "0"}), Relax({"k.txt", "--mesh", "t.stl", "--units-mm", "-5"}),
        Relax({"k.txt", "--mesh", "t.stl", "--units-mm", "5mm"}), Relax({"k.txt", "--mesh", "t.stl", "--scale", "nan"}),
        Relax({"k.txt", "--mesh", "t.stl", "--scale", "0"}),
        // --refine.
        Relax({"k.txt", "--refine", ""}), Relax({"k.txt", "--refine", "3,"}), Relax({"k.txt", "--refine", ",3"}),
        Relax({"k.txt", "--refine", "3,,10"}), Relax({"k.txt", "--refine", "0"}), Relax({"k.txt", "--refine", "-3"}),
        Relax({"k.txt", "--refine", "3,nan"}), Relax({"k.txt", "--refine", "3;10"}), Relax({"k.txt", "--refine"}),
        // The knot guard.
        Relax({"a.txt", "--check-knot", "--no-check-knot"}), Relax({"a.txt", "--keep-knot", "--no-check-knot"}),
        Relax({"a.txt", "--check-knot=yes"}),
        // --ideal.
        Relax({"in.txt", "--ideal", "--vertices", "3"}), Relax({"in.txt", "--ideal", "--vertices", "100000"}),
        Relax({"in.txt", "--ideal", "--vertices", "12x"}), Relax({"in.txt", "--vertices", "100"}),
        Relax({"in.txt", "--ideal", "--until-tight"}), Relax({"in.txt", "--ideal", "--iterations", "30"}),
        Relax({"in.txt", "--ideal", "--refine", "3"}), Relax({"in.txt", "--ideal", "--keep-knot"}),
        Relax({"in.txt", "--ideal", "--no-check-knot"}), Relax({"in.txt", "--ideal", "--log", "run.csv"}),
        // --log.
        Relax({"k.txt", "--log"}), Relax({"k.txt", "--log="}), Relax({"k.txt", "--log", "k.txt"}),
        Relax({"k.txt", "--output", "o.txt", "--log=o.txt"}),
        // --frames and its picture options.
        RelaxOn({"--frames"}, "--frames"), RelaxOn({"--frames="}, "--frames"), RelaxOn({"--size", "64"}, "--size"),
        RelaxOn({"--fit"}, "--fit"), RelaxOn({"--turn", "1,2"}, "--turn"), RelaxOn({"--colour", "pink"}, "--colour"),
        RelaxOn({"--background", "white"}, "--background"), RelaxOn({"--scale", "2"}, "--scale"),
        RelaxOn({"--frames", "f", "--size", "8"}, "--size"), RelaxOn({"--frames", "f", "--size", "64x"}, "--size"),
        RelaxOn({"--frames", "f", "--colour", "red"}, "--colour"), RelaxOn({"--frames", "f", "--turn", "1"}, "--turn"),
        RelaxOn({"--frames", "f", "--background", "#12345"}, "--background"),
        RelaxOn({"--frames", "f", "--scale", "0"}, "--scale"), RelaxOn({"--frames", "f", "--scale", "2e6"}, "--scale"),
        RelaxOn({"--frames", "f", "--ideal"}, "--frames"), RelaxOn({"--frames", "k.txt"}, "--frames"),
        RelaxOn({"--frames", "o.txt", "--output", "o.txt"}, "--frames"),
        RelaxOn({"--frames", "run.csv", "--log", "run.csv"}, "--frames")));

INSTANTIATE_TEST_SUITE_P(
    TubePicture, BadArgumentsTable,
    ::testing::Values(Picture("--size", "15"), Picture("--size", "8193"), Picture("--size", "800x"),
                      Picture("--size", "x600"), Picture("--size", "800x600x2"), Picture("--size", "-800"),
                      Picture("--size", "80.5"), Picture("--size", "99999999999"), Picture("--size", "800X600"),
                      Picture("--colour", "red"), Picture("--colour", "Pink"), Picture("--scale", "nan"),
                      Picture("--scale", "inf"), Picture("--scale", "1e7"), Picture("--scale", "2x"),
                      Picture("--scale", " 2"), Picture("--turn", "10"), Picture("--turn", "10,"),
                      Picture("--turn", "a,b"), Picture("--turn", "10,20,30"), Picture("--turn", "1e300,0"),
                      Picture("--turn", "nan,0"), Picture("--background", "grey"),
                      Picture("--background", "#12345"), Picture("--background", "12345G"),
                      Picture("--background", "#1234567"),
                      // The command line itself.
                      PictureLine({"k.txt"}), PictureLine({"k.txt", "p.gif"}, "OUT"),
                      PictureLine({"k.txt", "p.png", "--verbose"})));

}  // namespace
