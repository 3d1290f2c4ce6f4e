// Pictures of the tube for a program that draws them only sometimes (the
// frames of vek-relax): the offscreen drawing and the libraries it needs
// (Mesa's, with its compiler) live in a module of their own, loaded the
// first time a painter is asked for. A run that draws nothing does not load
// them, and starts several times as fast.
#pragma once

#include <memory>
#include <string>

#include "curve/double_array.h"
#include "render/camera.h"
#include "render/rgb_picture.h"
#include "render/tube_picture_options.h"

// What TubePainter does (render/tube_picture.h), through the module.
class FramePainter {
public:
    virtual ~FramePainter() = default;
    virtual bool IsOK() const = 0;
    virtual const std::string& Error() const = 0;
    virtual Matrix4 ViewFor(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z) const = 0;
    virtual bool Paint(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const Matrix4& view,
                       RgbPicture& picture, std::string& error) const = 0;
};

// The module's one entry point: a new painter (TubePainter's constructor),
// owned by the caller; null only when storage runs out.
extern "C" {
using MakeFramePainterFunction = FramePainter* (*)(const TubePictureOptions*);
}
inline constexpr const char* kMakeFramePainterName = "VekMakeFramePainter";

// The module's path: lib/vek/modules/vek-painter.so under the program's
// folder's parent (bin/.. once installed; in the build tree the programs'
// folders are one level down, and the module has its own copy of that
// folder there).
std::string FramePainterModulePath();

// In:  options of the pictures.
// Out: a painter whose IsOK() tells whether its context was made; null with
//      a one-line `error` when the module cannot be loaded. The module stays
//      loaded until the process ends.
std::unique_ptr<FramePainter> LoadFramePainter(const TubePictureOptions& options, std::string& error);
