// The tube mesh file of vek-relax --mesh.
#pragma once

#include <optional>
#include <string>

#include "curve/double_array.h"

namespace vek {

// Builds the tube of the curve as the desktop view does (kRingSegments per
// ring, radius scale * thickness / 2, seam matched), scales it so the tube
// is unitsMm thick when given, and writes it to `path` in the format of its
// extension. Returns false with a readable `error` when the curve has too
// few points for a closed tube (fewer than 3) or the file cannot be written.
bool ExportTubeMesh(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                    double scale, std::optional<double> unitsMm, const std::string& path, std::string& error);

}  // namespace vek
