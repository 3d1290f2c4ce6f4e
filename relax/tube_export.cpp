#include "relax/tube_export.h"

#include "curve/constants.h"
#include "io/mesh_export.h"
#include "render/build_tube.h"
#include "render/tube_mesh.h"

namespace vek {

bool ExportTubeMesh(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                    double scale, std::optional<double> unitsMm, const std::string& path, std::string& error)
{
    const MeshFormat format = MeshFormatFromPath(path);
    if (format == MeshFormat::Unknown) {
        error = "\"" + path + "\": the mesh file name must end in .obj, .stl or .ply";
        return false;
    }
    CDoubleArray tubeX, tubeY, tubeZ;
    BuildTube(x, y, z, kRingSegments, thickness, scale, tubeX, tubeY, tubeZ);
    TubeMesh mesh;
    if (!BuildTubeMesh(x, y, z, tubeX, tubeY, tubeZ, kRingSegments, mesh)) {
        error = "no tube mesh for a curve of " + std::to_string(x.GetSize()) +
                " points: a closed tube needs at least 3 finite points, and a radius above 0";
        return false;
    }
    if (unitsMm)
        ScaleTubeMesh(mesh, *unitsMm / (scale * thickness));
    return WriteMeshFile(path, format, mesh, error);
}

}  // namespace vek
