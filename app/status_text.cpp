#include "app/status_text.h"

#include <cstdio>

#include "res/string_table.h"

namespace {

template <typename... Args>
std::string Printed(const char* format, Args... args)
{
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

StatusTexts FormatStatusTexts(const vek::CurveFigures& f, long long iterations)
{
    StatusTexts texts;
    std::string knot = vek::text::kStatusNone;
    if (f.knotKnown) {
        knot.clear();
        if (f.candidates.empty())
            knot = f.knot;
        for (const std::string& name : f.candidates)
            knot += (knot.empty() ? "" : " / ") + name;
    }
    texts[kFieldKnot] = Printed(vek::text::kStatusKnot, knot.c_str());
    texts[kFieldRopelength] =
        f.certified ? Printed(vek::text::kStatusRopelength, f.ropelength) : vek::text::kStatusNoRopelength;
    texts[kFieldNominal] = f.nominal > 0.0 ? Printed(vek::text::kStatusNominal, f.nominal) : vek::text::kStatusNoNominal;
    texts[kFieldPoints] = Printed(vek::text::kStatusPoints, f.points);
    texts[kFieldIterations] = Printed(vek::text::kStatusIterations, iterations);
    return texts;
}

StatusTexts WidestStatusTexts()
{
    // A fine relaxed curve certifies only a thin tube (its corners are
    // sharp for their spacing), so its ropelength runs to six digits.
    StatusTexts texts;
    texts[kFieldRopelength] = Printed(vek::text::kStatusRopelength, 888888.8888);
    texts[kFieldNominal] = Printed(vek::text::kStatusNominal, 8888.8888);
    texts[kFieldPoints] = Printed(vek::text::kStatusPoints, 8888888);
    texts[kFieldIterations] = Printed(vek::text::kStatusIterations, 88888888LL);
    return texts;
}

StatusTexts FormatIdealProgressTexts(const vek::IdealProgress& progress)
{
    StatusTexts texts;
    texts[kFieldRopelength] = progress.level > 0 ? Printed(vek::text::kStatusRopelength, progress.ropelength)
                                                 : vek::text::kStatusNoRopelength;
    texts[kFieldIterations] = Printed(vek::text::kStatusIdealProgress, progress.level);
    return texts;
}
