// The module behind LoadFramePainter: TubePainter, with the offscreen
// drawing linked in.
#include <new>

#include "render/frame_painter.h"
#include "render/tube_picture.h"

namespace {

class ModulePainter final : public FramePainter {
public:
    explicit ModulePainter(const TubePictureOptions& options) : m_painter(options) {}

    bool IsOK() const override { return m_painter.IsOK(); }
    const std::string& Error() const override { return m_painter.Error(); }
    Matrix4 ViewFor(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z) const override
    {
        return m_painter.ViewFor(x, y, z);
    }
    bool Paint(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const Matrix4& view,
               RgbPicture& picture, std::string& error) const override
    {
        return m_painter.Paint(x, y, z, view, picture, error);
    }

private:
    TubePainter m_painter;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) FramePainter* VekMakeFramePainter(const TubePictureOptions* options)
{
    try {
        return new ModulePainter(*options);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
