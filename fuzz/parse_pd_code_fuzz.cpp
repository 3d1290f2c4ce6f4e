// Fuzz target of the diagram code reader (knot/pd_code.h) and what works on
// the codes it accepts.
//
// Input: any bytes, read as the text of a diagram code. Checked on every
// input:
// - reading never crashes or hangs; a refusal comes with a message;
// - an accepted code written and read again is the same code, and gives a
//   one-component diagram passing every crossing twice;
// - for codes of at most 10 crossings: the HOMFLY-PT polynomial of the
//   mirrored code is the mirrored polynomial, the signatures are opposite,
//   and (up to 6 crossings, the layout being the slow part) the layout in
//   space is finite or refused with a message.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "knot/homfly.h"
#include "knot/knot_layout.h"
#include "knot/pd_code.h"
#include "knot/signature.h"

namespace {

[[noreturn]] void Finding(const char* what)
{
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vek::PdCode code;
    std::string error;
    if (!vek::ParsePdCode(text, code, error)) {
        if (error.empty())
            Finding("a refusal without a message");
        return 0;
    }
    vek::PdCode again;
    if (!vek::ParsePdCode(vek::FormatPdCode(code), again, error) || again.crossings != code.crossings)
        Finding("a written code reads back otherwise");
    vek::LinkDiagram d;
    if (!vek::PdToDiagram(code, d, error))
        Finding("an accepted code gives no diagram");
    if (d.components.size() != 1 || d.components[0].size() != 2 * code.crossings.size())
        Finding("not one component passing every crossing twice");
    if (code.crossings.size() > 10)
        return 0;
    vek::LinkDiagram m;
    const vek::PdCode mirror = vek::MirrorPd(code);
    if (!vek::ParsePdCode(vek::FormatPdCode(mirror), again, error) || !vek::PdToDiagram(mirror, m, error))
        Finding("the mirrored code is refused");
    vek::Laurent2 p, q;
    if (!vek::HomflyPolynomial(d, p) || !vek::HomflyPolynomial(m, q))
        Finding("no polynomial for a small code");
    if (!(q == p.MirrorV()))
        Finding("the mirror's polynomial is not the mirrored polynomial");
    int s = 0, t = 0;
    if (vek::KnotSignature(code, s) != vek::KnotSignature(mirror, t) || s != -t)
        Finding("the mirror's signature is not the opposite");
    if (code.crossings.size() > 6)
        return 0;
    std::vector<double> x, y, z;
    if (vek::LayOutKnot(code, {}, x, y, z, error)) {
        if (x.empty() || x.size() != y.size() || x.size() != z.size())
            Finding("a layout without points");
        for (size_t k = 0; k < x.size(); ++k)
            if (!std::isfinite(x[k]) || !std::isfinite(y[k]) || !std::isfinite(z[k]))
                Finding("a layout point that is not finite");
    } else if (error.empty()) {
        Finding("a layout refused without a message");
    }
    return 0;
}
