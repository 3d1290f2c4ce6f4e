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

bool RenderTubePicture(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                       const TubePictureOptions& options, RgbPicture& picture, std::string& error)
{
    CDoubleArray tubeX, tubeY, tubeZ;
    BuildTube(x, y, z, vek::kRingSegments, vek::kThickness, options.tubeScale, tubeX, tubeY, tubeZ);
    TubeDrawList list;
    BuildTubeDrawList(x, y, z, tubeX, tubeY, tubeZ, vek::kRingSegments, list);
    const Matrix4 view = TubePictureView(ResetCameraMatrix(vek::kInitialEye, vek::kInitialCentre),
                                         DrawnVertices(list, tubeX, tubeY, tubeZ), options);

    OffscreenContext context(options.width, options.height);
    if (!context.IsOK()) {
        error = context.Error();
        return false;
    }
    // The same calls, in the same order, as the view's creation and paint.
    InitGL();
    ApplyViewport(options.width, options.height);
    LoadViewMatrix(view);
    DrawTube(list, options.colour);
    picture.width = options.width;
    picture.height = options.height;
    picture.rgb = context.ReadRGB();
    PaintBackground(context.ReadDepth(), options.background, picture.rgb);
    return true;
}
