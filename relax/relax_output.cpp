#include "relax/relax_session.h"

#include <cstdio>
#include <string>

#include "io/curve_file.h"
#include "io/points_file.h"
#include "relax/tube_export.h"

namespace vek {

namespace {

void Tell(const std::string& message)
{
    std::fprintf(stderr, "vek-relax: %s\n", message.c_str());
}

bool WriteToStandardOutput(const std::string& text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

bool WriteCurve(const RelaxOptions& options, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    std::string error;
    if (options.output.empty()) {
        if (WriteToStandardOutput(FormatPointsText(x, y, z)))
            return true;
        error = "cannot write to standard output";
    } else if (WriteCurveFile(options.output, x, y, z, error)) {
        return true;
    }
    Tell(error);
    return false;
}

}  // namespace

int WriteRelaxOutcome(const RelaxOptions& options, const CDoubleArray& x, const CDoubleArray& y,
                      const CDoubleArray& z, RelaxOutcome& outcome)
{
    if (!outcome.notice.empty())
        std::fprintf(stderr, "vek-relax: %s", outcome.notice.c_str());
    if (!outcome.ok) {
        Tell(outcome.error);
        return kRelaxExitFailed;
    }
    std::fputs(outcome.summary.c_str(), stderr);
    if (outcome.curveWrite) {
        if (!outcome.curveWrite->empty()) {
            Tell(*outcome.curveWrite);
            return kRelaxExitFailed;
        }
    } else if (!WriteCurve(options, x, y, z)) {
        return kRelaxExitFailed;
    }
    std::string error;
    if (!options.mesh.empty() &&
        !ExportTubeMesh(x, y, z, outcome.meshThickness, options.scale, options.unitsMm, options.mesh, error)) {
        Tell(error);
        return kRelaxExitFailed;
    }
    if (options.json && !WriteToStandardOutput(outcome.json)) {
        Tell("cannot write to standard output");
        return kRelaxExitFailed;
    }
    if (outcome.records && !outcome.records->Finish())
        return kRelaxExitFailed;
    return outcome.status;
}

}  // namespace vek
