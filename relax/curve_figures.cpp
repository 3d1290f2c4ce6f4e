#include "relax/curve_figures.h"

#include "curve/curve_metrics.h"
#include "curve/curve_polygon.h"
#include "knot/polygon_thickness.h"
#include "relax/relax_report.h"

namespace vek {

CurveFigures MeasureCurveFigures(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                                 double thickness)
{
    CurveFigures f;
    f.points = x.GetSize();
    if (f.points < 3)
        return f;
    f.length = CurveLength(x, y, z);
    if (thickness > 0.0)
        f.nominal = f.length / thickness;
    const KnotType type = IdentifyCurveKnot(x, y, z);
    if (type.known) {
        f.knotKnown = true;
        f.knot = type.name;
        f.candidates = type.candidates;
    }
    const PolygonThickness certified = ComputePolygonThickness(CurvePolygon(x, y, z));
    if (certified.thickness > 0.0) {
        f.certified = true;
        f.certifiedThickness = certified.thickness;
        f.ropelength = CertifiedRopelength(f.length, certified.thickness);
    }
    return f;
}

}  // namespace vek
