#include "io/mesh_export.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "geom/vec3.h"
#include "io/file_bytes.h"
#include "text/path_names.h"

namespace {

// Nine significant digits bring every float back exactly and are ample for
// a tube whose finest detail is a thousandth of its length.
constexpr int kSignificantDigits = 9;

void AppendNumber(std::string& out, double value)
{
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, kSignificantDigits);
    out.append(buffer, result.ptr);
}

void AppendTriple(std::string& out, const char* prefix, const std::vector<double>& values, std::size_t at)
{
    out += prefix;
    AppendNumber(out, values[at]);
    out += ' ';
    AppendNumber(out, values[at + 1]);
    out += ' ';
    AppendNumber(out, values[at + 2]);
    out += '\n';
}

void AppendLittleEndian32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFFu);
}

void AppendFloat(std::string& out, double value)
{
    const float single = static_cast<float>(value);
    std::uint32_t bits;
    std::memcpy(&bits, &single, sizeof bits);
    AppendLittleEndian32(out, bits);
}

Vec3 MeshVertex(const TubeMesh& mesh, int index)
{
    const std::size_t at = static_cast<std::size_t>(index) * 3;
    return {mesh.vertices[at], mesh.vertices[at + 1], mesh.vertices[at + 2]};
}

}  // namespace

MeshFormat MeshFormatFromPath(const std::string& path)
{
    if (vek::HasPathExtension(path, "obj"))
        return MeshFormat::Obj;
    if (vek::HasPathExtension(path, "stl"))
        return MeshFormat::Stl;
    if (vek::HasPathExtension(path, "ply"))
        return MeshFormat::Ply;
    return MeshFormat::Unknown;
}

std::string FormatMeshObj(const TubeMesh& mesh)
{
    std::string text = "# Vek tube: " + std::to_string(mesh.VertexCount()) + " vertices, " +
                       std::to_string(mesh.TriangleCount()) + " triangles\n";
    for (std::size_t at = 0; at + 2 < mesh.vertices.size(); at += 3)
        AppendTriple(text, "v ", mesh.vertices, at);
    for (std::size_t at = 0; at + 2 < mesh.normals.size(); at += 3)
        AppendTriple(text, "vn ", mesh.normals, at);
    for (std::size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
        text += 'f';
        for (std::size_t c = 0; c < 3; ++c) {
            const std::string index = std::to_string(mesh.triangles[t + c] + 1);
            text += ' ' + index + "//" + index;
        }
        text += '\n';
    }
    return text;
}

std::string FormatMeshStl(const TubeMesh& mesh)
{
    constexpr std::size_t kHeaderSize = 80;
    std::string header = "Vek tube, binary STL";
    header.resize(kHeaderSize, ' ');
    std::string bytes = header;
    const int triangles = mesh.TriangleCount();
    bytes.reserve(kHeaderSize + 4 + static_cast<std::size_t>(triangles) * 50);
    AppendLittleEndian32(bytes, static_cast<std::uint32_t>(triangles));
    for (int t = 0; t < triangles; ++t) {
        const Vec3 a = MeshVertex(mesh, mesh.triangles[3 * static_cast<std::size_t>(t)]);
        const Vec3 b = MeshVertex(mesh, mesh.triangles[3 * static_cast<std::size_t>(t) + 1]);
        const Vec3 c = MeshVertex(mesh, mesh.triangles[3 * static_cast<std::size_t>(t) + 2]);
        Vec3 normal = {0.0, 0.0, 0.0};
        if (!UnitDirection(Cross(b - a, c - a), normal))
            normal = {0.0, 0.0, 0.0};
        for (const Vec3& v : {normal, a, b, c}) {
            AppendFloat(bytes, v.x);
            AppendFloat(bytes, v.y);
            AppendFloat(bytes, v.z);
        }
        bytes += '\0';
        bytes += '\0';
    }
    return bytes;
}

std::string FormatMeshPly(const TubeMesh& mesh)
{
    std::string text = "ply\nformat ascii 1.0\ncomment Vek tube\nelement vertex " +
                       std::to_string(mesh.VertexCount()) +
                       "\nproperty float x\nproperty float y\nproperty float z\n"
                       "property float nx\nproperty float ny\nproperty float nz\n"
                       "element face " +
                       std::to_string(mesh.TriangleCount()) + "\nproperty list uchar int vertex_indices\nend_header\n";
    for (std::size_t at = 0; at + 2 < mesh.vertices.size(); at += 3) {
        AppendNumber(text, mesh.vertices[at]);
        for (std::size_t c = 1; c < 6; ++c) {
            text += ' ';
            AppendNumber(text, c < 3 ? mesh.vertices[at + c] : mesh.normals[at + c - 3]);
        }
        text += '\n';
    }
    for (std::size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
        text += "3 " + std::to_string(mesh.triangles[t]) + ' ' + std::to_string(mesh.triangles[t + 1]) + ' ' +
                std::to_string(mesh.triangles[t + 2]) + '\n';
    }
    return text;
}

bool WriteMeshFile(const std::string& path, MeshFormat format, const TubeMesh& mesh, std::string& error)
{
    switch (format) {
    case MeshFormat::Obj:
        return WriteFileBytes(path, FormatMeshObj(mesh), error);
    case MeshFormat::Stl:
        return WriteFileBytes(path, FormatMeshStl(mesh), error);
    case MeshFormat::Ply:
        return WriteFileBytes(path, FormatMeshPly(mesh), error);
    case MeshFormat::Unknown:
        break;
    }
    error = "\"" + path + "\": unknown mesh format; the name must end in .obj, .stl or .ply";
    return false;
}
