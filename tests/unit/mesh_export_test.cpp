#include "io/mesh_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "curve/constants.h"
#include "render/build_tube.h"
#include "render/mesh_volume.h"
#include "io/file_bytes.h"

namespace {

// A small closed tube: 7 rings on a circle.
TubeMesh SmallTube()
{
    CDoubleArray x, y, z, tx, ty, tz;
    for (int i = 0; i < 7; ++i) {
        x.Add(0.2 * std::cos(i * 0.8975979010256552));
        y.Add(0.2 * std::sin(i * 0.8975979010256552));
        z.Add(0.01 * i);
    }
    BuildTube(x, y, z, vek::kRingSegments, vek::kThickness, 1.0, tx, ty, tz);
    TubeMesh mesh;
    EXPECT_TRUE(BuildTubeMesh(x, y, z, tx, ty, tz, vek::kRingSegments, mesh));
    return mesh;
}

// What a reader of each format finds in the file.
struct ReadBack {
    int vertices = 0, normals = 0, faces = 0;
    bool indicesInRange = true;
    double volume = 0.0;
};

ReadBack ReadObj(const std::string& text)
{
    ReadBack r;
    std::vector<double> v;
    std::vector<int> t;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "v") {
            double a, b, c;
            EXPECT_TRUE(words >> a >> b >> c) << line;
            v.insert(v.end(), {a, b, c});
            ++r.vertices;
        } else if (kind == "vn") {
            double a, b, c;
            EXPECT_TRUE(words >> a >> b >> c) << line;
            EXPECT_NEAR(a * a + b * b + c * c, 1.0, 1e-6) << line;
            ++r.normals;
        } else if (kind == "f") {
            std::string corner;
            int corners = 0;
            while (words >> corner) {
                const size_t slashes = corner.find("//");
                EXPECT_NE(slashes, std::string::npos) << line;
                const int index = std::stoi(corner.substr(0, slashes));
                EXPECT_EQ(corner.substr(slashes + 2), corner.substr(0, slashes)) << "normal index " << line;
                r.indicesInRange = r.indicesInRange && index >= 1 && index <= r.vertices;
                t.push_back(index - 1);
                ++corners;
            }
            EXPECT_EQ(corners, 3) << line;
            ++r.faces;
        } else {
            EXPECT_TRUE(kind.empty() || kind[0] == '#') << line;
        }
    }
    if (r.indicesInRange)
        r.volume = MeshSignedVolume(v, t);
    return r;
}

std::uint32_t Little32(const std::string& bytes, size_t at)
{
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

float LittleFloat(const std::string& bytes, size_t at)
{
    const std::uint32_t bits = Little32(bytes, at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

ReadBack ReadStl(const std::string& bytes)
{
    ReadBack r;
    EXPECT_GE(bytes.size(), 84u);
    EXPECT_NE(bytes.compare(0, 5, "solid"), 0) << "a binary STL must not start like the text form";
    const std::uint32_t count = Little32(bytes, 80);
    EXPECT_EQ(bytes.size(), 84u + 50u * count) << "size against the triangle count";
    std::vector<double> v;
    std::vector<int> t;
    for (std::uint32_t k = 0; k < count && 84 + 50 * (k + 1) <= bytes.size(); ++k) {
        const size_t at = 84 + 50 * k;
        const double nx = LittleFloat(bytes, at), ny = LittleFloat(bytes, at + 4), nz = LittleFloat(bytes, at + 8);
        EXPECT_NEAR(nx * nx + ny * ny + nz * nz, 1.0, 1e-5) << "facet " << k;
        for (int c = 0; c < 3; ++c) {
            for (int d = 0; d < 3; ++d)
                v.push_back(LittleFloat(bytes, at + 12 + 12 * c + 4 * d));
            t.push_back(static_cast<int>(3 * k) + c);
        }
        EXPECT_EQ(bytes[at + 48], 0);
        EXPECT_EQ(bytes[at + 49], 0);
        ++r.faces;
        ++r.normals;
    }
    r.vertices = 3 * r.faces;
    r.volume = MeshSignedVolume(v, t);
    return r;
}

ReadBack ReadPly(const std::string& text)
{
    ReadBack r;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "ply");
    std::getline(in, line);
    EXPECT_EQ(line, "format ascii 1.0");
    int vertexCount = -1, faceCount = -1, properties = 0;
    while (std::getline(in, line) && line != "end_header") {
        std::istringstream words(line);
        std::string a, b;
        int count = 0;
        words >> a >> b;
        if (a == "element" && b == "vertex" && (words >> count))
            vertexCount = count;
        else if (a == "element" && b == "face" && (words >> count))
            faceCount = count;
        else if (a == "property" && b == "float")
            ++properties;
    }
    EXPECT_EQ(line, "end_header");
    EXPECT_EQ(properties, 6) << "x y z nx ny nz";
    std::vector<double> v;
    std::vector<int> t;
    for (int k = 0; k < vertexCount; ++k) {
        double c[6];
        for (double& value : c)
            EXPECT_TRUE(in >> value) << "vertex " << k;
        v.insert(v.end(), {c[0], c[1], c[2]});
        EXPECT_NEAR(c[3] * c[3] + c[4] * c[4] + c[5] * c[5], 1.0, 1e-6);
        ++r.vertices;
        ++r.normals;
    }
    for (int k = 0; k < faceCount; ++k) {
        int corners = 0;
        EXPECT_TRUE(in >> corners);
        EXPECT_EQ(corners, 3);
        for (int c = 0; c < corners; ++c) {
            int index = -1;
            EXPECT_TRUE(in >> index);
            r.indicesInRange = r.indicesInRange && index >= 0 && index < vertexCount;
            t.push_back(index);
        }
        ++r.faces;
    }
    std::string rest;
    EXPECT_FALSE(in >> rest) << "data after the last face: " << rest;
    if (r.indicesInRange)
        r.volume = MeshSignedVolume(v, t);
    return r;
}

}  // namespace

TEST(MeshExport, FormatFollowsTheExtensionInAnyCase)
{
    const std::pair<const char*, MeshFormat> cases[] = {
        {"a.obj", MeshFormat::Obj},  {"dir.x/A.OBJ", MeshFormat::Obj}, {"t.stl", MeshFormat::Stl},
        {"t.Stl", MeshFormat::Stl},  {"t.ply", MeshFormat::Ply},       {"t.txt", MeshFormat::Unknown},
        {"obj", MeshFormat::Unknown}, {"dir.obj/t", MeshFormat::Unknown}, {"t.", MeshFormat::Unknown},
        {"t.objx", MeshFormat::Unknown}};
    for (const auto& [path, format] : cases)
        EXPECT_EQ(MeshFormatFromPath(path), format) << path;
}

TEST(MeshExport, EveryFormatReadsBackWithItsCountsAndVolume)
{
    const TubeMesh mesh = SmallTube();
    const double volume = MeshSignedVolume(mesh.vertices, mesh.triangles);
    ASSERT_GT(volume, 0.0);

    const ReadBack obj = ReadObj(FormatMeshObj(mesh));
    EXPECT_EQ(obj.vertices, mesh.VertexCount());
    EXPECT_EQ(obj.normals, mesh.VertexCount());
    EXPECT_EQ(obj.faces, mesh.TriangleCount());
    EXPECT_TRUE(obj.indicesInRange);
    EXPECT_NEAR(obj.volume / volume, 1.0, 1e-6);

    const ReadBack stl = ReadStl(FormatMeshStl(mesh));
    EXPECT_EQ(stl.faces, mesh.TriangleCount());
    // Single precision: the volume to about 1e-6.
    EXPECT_NEAR(stl.volume / volume, 1.0, 1e-4);

    const ReadBack ply = ReadPly(FormatMeshPly(mesh));
    EXPECT_EQ(ply.vertices, mesh.VertexCount());
    EXPECT_EQ(ply.normals, mesh.VertexCount());
    EXPECT_EQ(ply.faces, mesh.TriangleCount());
    EXPECT_TRUE(ply.indicesInRange);
    EXPECT_NEAR(ply.volume / volume, 1.0, 1e-6);
}

TEST(MeshExport, StlFacetNormalsFaceOutwards)
{
    const TubeMesh mesh = SmallTube();
    const std::string bytes = FormatMeshStl(mesh);
    for (int k = 0; k < mesh.TriangleCount(); ++k) {
        const size_t at = 84 + 50 * static_cast<size_t>(k);
        const int v = mesh.triangles[3 * k];
        const double dot = LittleFloat(bytes, at) * mesh.normals[3 * v] +
                           LittleFloat(bytes, at + 4) * mesh.normals[3 * v + 1] +
                           LittleFloat(bytes, at + 8) * mesh.normals[3 * v + 2];
        ASSERT_GT(dot, 0.0) << "facet " << k;
    }
}

TEST(MeshExport, WritesTheFileAndReportsWhatCannotBeWritten)
{
    const TubeMesh mesh = SmallTube();
    const std::string path = ::testing::TempDir() + "vek_mesh_export_test.stl";
    std::string error;
    ASSERT_TRUE(WriteMeshFile(path, MeshFormat::Stl, mesh, error)) << error;
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes, error)) << error;
    EXPECT_EQ(bytes, FormatMeshStl(mesh));
    std::remove(path.c_str());

    EXPECT_FALSE(WriteMeshFile("/nonexistent-dir/x.obj", MeshFormat::Obj, mesh, error));
    EXPECT_NE(error.find("/nonexistent-dir/x.obj"), std::string::npos) << error;
    EXPECT_FALSE(WriteMeshFile(path, MeshFormat::Unknown, mesh, error));
}
