#include "render/tube_picture.h"

#include <cstddef>

#include "render/build_tube.h"
#include "render/gl_scene.h"
#include "render/offscreen_context.h"
#include "render/picture_camera.h"
#include "render/tube_draw_list.h"

namespace {

// Pixels where nothing was drawn keep the depth buffer's clear value 1.0
// (the tube's fragments all lie nearer, inside the box's depth range).
void PaintBackground(const std::vector<float>& depth, const std::array<uint8_t, 3>& background,
                     std::vector<uint8_t>& rgb)
{
    for (std::size_t p = 0; p < depth.size() && 3 * p + 2 < rgb.size(); ++p) {
        if (depth[p] < 1.0f)
            continue;
        rgb[3 * p] = background[0];
        rgb[3 * p + 1] = background[1];
        rgb[3 * p + 2] = background[2];
    }
}

// The tube's vertices, 3 doubles each, as the fit reads them; none when the
// list draws nothing.
std::vector<double> DrawnVertices(const TubeDrawList& list, const CDoubleArray& tubeX, const CDoubleArray& tubeY,
                                  const CDoubleArray& tubeZ)
{
    std::vector<double> vertices;
    if (list.Empty())
        return vertices;
    vertices.reserve(3 * static_cast<std::size_t>(tubeX.GetSize()));
    for (int e = 0; e < tubeX.GetSize(); ++e)
        vertices.insert(vertices.end(), {tubeX[e], tubeY[e], tubeZ[e]});
    return vertices;
}

}  // namespace

Matrix4 TubePictureView(const Matrix4& viewStart, const std::vector<double>& vertices,
                        const TubePictureOptions& options)
{
    const Matrix4 turned = MultiplyMatrix(TurnStep(options.turnX, options.turnY), viewStart);
    if (!options.fit)
        return turned;
    return FitView(turned, vertices, options.width, options.height, vek::kPictureFill);
}

namespace {

struct BuiltTube {
    CDoubleArray x, y, z;
    TubeDrawList list;
};

void Build(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double tubeScale, BuiltTube& tube)
{
    BuildTube(x, y, z, vek::kRingSegments, vek::kThickness, tubeScale, tube.x, tube.y, tube.z);
    BuildTubeDrawList(x, y, z, tube.x, tube.y, tube.z, vek::kRingSegments, vek::kThickness, tubeScale, tube.list);
}

}  // namespace

TubePainter::TubePainter(const TubePictureOptions& options)
    : m_options(options), m_context(std::make_unique<OffscreenContext>(options.width, options.height))
{
    // As the view does once when its context is made.
    if (m_context->IsOK())
        InitGL();
}

TubePainter::~TubePainter() = default;

bool TubePainter::IsOK() const { return m_context->IsOK(); }

const std::string& TubePainter::Error() const { return m_context->Error(); }

Matrix4 TubePainter::ViewFor(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z) const
{
    BuiltTube tube;
    if (m_options.fit)
        Build(x, y, z, m_options.tubeScale, tube);
    return TubePictureView(ResetCameraMatrix(vek::kInitialEye, vek::kInitialCentre),
                           DrawnVertices(tube.list, tube.x, tube.y, tube.z), m_options);
}

bool TubePainter::Paint(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const Matrix4& view,
                        RgbPicture& picture, std::string& error) const
{
    if (!m_context->IsOK()) {
        error = m_context->Error();
        return false;
    }
    BuiltTube tube;
    Build(x, y, z, m_options.tubeScale, tube);
    // The same calls, in the same order, as the view's paint.
    ApplyViewport(m_options.width, m_options.height);
    LoadViewMatrix(view);
    DrawTube(tube.list, m_options.colour);
    picture.width = m_options.width;
    picture.height = m_options.height;
    picture.rgb = m_context->ReadRGB();
    PaintBackground(m_context->ReadDepth(), m_options.background, picture.rgb);
    return true;
}

bool RenderTubePicture(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                       const TubePictureOptions& options, RgbPicture& picture, std::string& error)
{
    const TubePainter painter(options);
    if (!painter.IsOK()) {
        error = painter.Error();
        return false;
    }
    return painter.Paint(x, y, z, painter.ViewFor(x, y, z), picture, error);
}
