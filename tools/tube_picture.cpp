// vek-tube-picture: draws the tube of a position data file (or VECT file)
// into a PPM picture without any window or OpenGL, from the desktop view's
// starting camera and with its three coloured lights, for documentation.
//
//   vek-tube-picture POINTS OUT.ppm [SIZE]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "render/build_tube.h"
#include "render/camera.h"
#include "render/tube_mesh.h"
#include "render/vec3.h"
#include "io/file_bytes.h"
#include "io/curve_file.h"

namespace {

struct Light {
    Vec3 direction;
    Vec3 colour;
};

Vec3 Apply(const Matrix4& m, Vec3 p, double w)
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12] * w, m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13] * w,
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14] * w};
}

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Unit(Vec3 a)
{
    Vec3 u = {0, 0, 0};
    UnitDirection(a, u);
    return u;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "Usage: vek-tube-picture POINTS OUT.ppm [SIZE]\n");
        return 2;
    }
    const int size = argc > 3 ? std::atoi(argv[3]) : 480;
    if (size < 16 || size > 8192) {
        std::fprintf(stderr, "vek-tube-picture: SIZE must be 16 ... 8192\n");
        return 2;
    }
    CDoubleArray x, y, z;
    std::string error;
    const std::string input = argv[1];
    if (!ReadCurveFile(input, x, y, z, error)) {
        std::fprintf(stderr, "vek-tube-picture: %s\n", error.c_str());
        return 1;
    }
    CDoubleArray tx, ty, tz;
    BuildTube(x, y, z, vek::kRingSegments, vek::kThickness, vek::kDefaultTubeScale, tx, ty, tz);
    TubeMesh mesh;
    if (!BuildTubeMesh(x, y, z, tx, ty, tz, vek::kRingSegments, mesh)) {
        std::fprintf(stderr, "vek-tube-picture: the curve has too few points for a tube\n");
        return 1;
    }

    // Eye coordinates of the desktop view's starting camera.
    const Matrix4 view = ResetCameraMatrix(vek::kInitialEye, vek::kInitialCentre);
    std::vector<Vec3> eye(static_cast<size_t>(mesh.VertexCount())), normal(eye.size());
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
    for (size_t k = 0; k < eye.size(); ++k) {
        const Vec3 p = {mesh.vertices[3 * k], mesh.vertices[3 * k + 1], mesh.vertices[3 * k + 2]};
        const Vec3 n = {mesh.normals[3 * k], mesh.normals[3 * k + 1], mesh.normals[3 * k + 2]};
        eye[k] = Apply(view, p, 1.0);
        normal[k] = Unit(Apply(view, n, 0.0));
        lo[0] = std::min(lo[0], eye[k].x);
        lo[1] = std::min(lo[1], eye[k].y);
        hi[0] = std::max(hi[0], eye[k].x);
        hi[1] = std::max(hi[1], eye[k].y);
    }
    // Fit the picture with a margin of 5 %.
    const double extent = std::max(hi[0] - lo[0], hi[1] - lo[1]) * 1.1;
    const double cx = 0.5 * (lo[0] + hi[0]), cy = 0.5 * (lo[1] + hi[1]);
    const auto pixelX = [&](double ex) { return (ex - cx) / extent * size + 0.5 * size; };
    const auto pixelY = [&](double ey) { return 0.5 * size - (ey - cy) / extent * size; };

    // The view's lights: directional, fixed to the eye; white material with
    // a sharp white highlight and OpenGL's default ambient light.
    const Light lights[] = {{Unit({1.09, 1.0, 1.0}), {0.5, 0.0, 0.0}},
                            {Unit({1.0, 1.09, 1.0}), {0.5, 0.5, 0.0}},
                            {Unit({1.0, 1.0, 1.09}), {0.0, 0.5, 1.0}}};
    const auto shade = [&](Vec3 n) {
        if (n.z < 0)
            n = -1.0 * n;  // two-sided lighting
        Vec3 colour = {0.2, 0.2, 0.2};
        for (const Light& light : lights) {
            const double diffuse = std::max(0.0, Dot(n, light.direction));
            const Vec3 half = Unit(light.direction + Vec3{0, 0, 1});
            const double specular = diffuse > 0 ? std::pow(std::max(0.0, Dot(n, half)), 64.0) : 0.0;
            colour = colour + (diffuse + specular) * light.colour;
        }
        return colour;
    };

    std::vector<double> depth(static_cast<size_t>(size) * size, -1e300);
    std::vector<unsigned char> rgb(static_cast<size_t>(size) * size * 3, 0);
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
        const int i[3] = {mesh.triangles[3 * t], mesh.triangles[3 * t + 1], mesh.triangles[3 * t + 2]};
        double px[3], py[3];
        for (int c = 0; c < 3; ++c) {
            px[c] = pixelX(eye[i[c]].x);
            py[c] = pixelY(eye[i[c]].y);
        }
        const double area = (px[1] - px[0]) * (py[2] - py[0]) - (px[2] - px[0]) * (py[1] - py[0]);
        if (area == 0.0)
            continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({px[0], px[1], px[2]}))));
        const int x1 = std::min(size - 1, static_cast<int>(std::ceil(std::max({px[0], px[1], px[2]}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({py[0], py[1], py[2]}))));
        const int y1 = std::min(size - 1, static_cast<int>(std::ceil(std::max({py[0], py[1], py[2]}))));
        for (int v = y0; v <= y1; ++v) {
            for (int u = x0; u <= x1; ++u) {
                const double sx = u + 0.5, sy = v + 0.5;
                double b[3];
                b[0] = ((px[1] - sx) * (py[2] - sy) - (px[2] - sx) * (py[1] - sy)) / area;
                b[1] = ((px[2] - sx) * (py[0] - sy) - (px[0] - sx) * (py[2] - sy)) / area;
                b[2] = 1.0 - b[0] - b[1];
                if (b[0] < 0 || b[1] < 0 || b[2] < 0)
                    continue;
                const double d = b[0] * eye[i[0]].z + b[1] * eye[i[1]].z + b[2] * eye[i[2]].z;
                const size_t at = static_cast<size_t>(v) * size + u;
                if (d <= depth[at])
                    continue;
                depth[at] = d;
                const Vec3 n = Unit(b[0] * normal[i[0]] + b[1] * normal[i[1]] + b[2] * normal[i[2]]);
                const Vec3 colour = shade(n);
                rgb[3 * at] = static_cast<unsigned char>(std::lround(255 * std::min(1.0, colour.x)));
                rgb[3 * at + 1] = static_cast<unsigned char>(std::lround(255 * std::min(1.0, colour.y)));
                rgb[3 * at + 2] = static_cast<unsigned char>(std::lround(255 * std::min(1.0, colour.z)));
            }
        }
    }

    std::string ppm = "P6\n" + std::to_string(size) + " " + std::to_string(size) + "\n255\n";
    ppm.append(reinterpret_cast<const char*>(rgb.data()), rgb.size());
    if (!WriteFileBytes(argv[2], ppm, error)) {
        std::fprintf(stderr, "vek-tube-picture: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
