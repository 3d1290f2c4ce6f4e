#include "render/mesh_volume.h"

#include <cstddef>

#include "geom/vec3.h"

double MeshSignedVolume(const std::vector<double>& vertices, const std::vector<int>& triangles)
{
    const auto vertex = [&](int index) {
        const std::size_t at = static_cast<std::size_t>(index) * 3;
        return Vec3{vertices[at], vertices[at + 1], vertices[at + 2]};
    };
    double sixfold = 0.0;
    for (std::size_t t = 0; t + 2 < triangles.size(); t += 3) {
        const Vec3 a = vertex(triangles[t]);
        const Vec3 b = vertex(triangles[t + 1]);
        const Vec3 c = vertex(triangles[t + 2]);
        const Vec3 bc = Cross(b, c);
        sixfold += a.x * bc.x + a.y * bc.y + a.z * bc.z;
    }
    return sixfold / 6.0;
}
