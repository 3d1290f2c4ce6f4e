// vek-relax: relaxes the curve of a position data file from the command
// line, with the same engine and schedule as the desktop program.
#include <cstdio>
#include <string>
#include <vector>

#include "io/curve_file.h"
#include "relax/knot_curve.h"
#include "relax/relax_session.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    vek::RelaxOptions options;
    std::string error;
    if (!vek::ParseRelaxArguments(args, options, error)) {
        std::fprintf(stderr, "vek-relax: %s\nTry 'vek-relax --help'.\n", error.c_str());
        return vek::kRelaxExitBadArguments;
    }
    if (options.help) {
        std::fputs(vek::RelaxUsage().c_str(), stdout);
        return vek::kRelaxExitDone;
    }
    if (options.version) {
        std::fputs(vek::RelaxVersionLine().c_str(), stdout);
        return vek::kRelaxExitDone;
    }
    CDoubleArray x, y, z;
    if (!options.knot.empty() || !options.pd.empty()) {
        // A curve made from a name or a code goes on as a file read would.
        const vek::KnotCurveResult made = vek::MakeKnotCurve(options, x, y, z, error);
        if (made != vek::KnotCurveResult::Made) {
            std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
            return made == vek::KnotCurveResult::BadArgument ? vek::kRelaxExitBadArguments : vek::kRelaxExitFailed;
        }
    } else if (!ReadCurveFile(options.input, x, y, z, error)) {
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
        return vek::kRelaxExitFailed;
    }
    vek::RelaxOutcome outcome = vek::RunRelax(options, x, y, z);
    return vek::WriteRelaxOutcome(options, x, y, z, outcome);
}
