// vek-relax: relaxes the curve of a position data file from the command
// line, with the same engine and schedule as the desktop program.
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "curve/constants.h"
#include "geom/parallel.h"
#include "io/curve_file.h"
#include "relax/knot_curve.h"
#include "relax/relax_session.h"

namespace {

// The program; `stage` says what is being built, for a message should
// storage run out.
int Run(int argc, char** argv, std::string& stage)
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
    if (options.threads > 0)
        vek::SetThreadLimit(options.threads);
    std::error_code sizeError;
    const auto bytes = std::filesystem::file_size(options.input, sizeError);
    stage = !options.knot.empty() ? "making the curve of " + options.knot
            : !options.pd.empty() ? std::string("making the curve of a diagram code")
                                  : "reading \"" + options.input + "\"" +
                                        (sizeError ? std::string() : " (" + std::to_string(bytes) + " bytes)");
    CDoubleArray x, y, z;
    std::vector<std::string> notes;
    if (!options.knot.empty() || !options.pd.empty()) {
        // A curve made from a name or a code goes on as a file read would.
        const vek::KnotCurveResult made = vek::MakeKnotCurve(options.knot, options.pd, x, y, z, error);
        if (made != vek::KnotCurveResult::Made) {
            std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
            return made == vek::KnotCurveResult::BadArgument ? vek::kRelaxExitBadArguments : vek::kRelaxExitFailed;
        }
    } else if (!ReadCurveFile(options.input, x, y, z, error, &notes)) {
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
        return vek::kRelaxExitFailed;
    }
    for (const std::string& note : notes)
        std::fprintf(stderr, "vek-relax: %s\n", note.c_str());
    stage = "relaxing the curve of " + std::to_string(x.GetSize()) + " points (up to " +
            std::to_string(vek::kMaxCurvePoints) + " once resampled)";
    vek::RelaxOutcome outcome = vek::RunRelax(options, x, y, z);
    stage = "writing the curve of " + std::to_string(x.GetSize()) + " points" +
            (options.mesh.empty() ? std::string()
                                  : " and its tube mesh of " + std::to_string(x.GetSize()) + " x " +
                                        std::to_string(vek::kRingSegments) + " vertices");
    return vek::WriteRelaxOutcome(options, x, y, z, outcome);
}

}  // namespace

int main(int argc, char** argv)
{
    // Storage that runs out (a huge file, a huge mesh) ends with a message
    // and status 1, not an abort.
    std::string stage = "reading the options";
    try {
        return Run(argc, argv, stage);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "vek-relax: out of memory while %s\n", stage.c_str());
        return vek::kRelaxExitFailed;
    }
}
