// A picture of the tube as the desktop view draws it, rendered offscreen
// with the view's own OpenGL code (InitGL, DrawTube, the draw list and the
// camera matrices), so that a picture and the view cannot differ.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "curve/double_array.h"
#include "render/camera.h"
#include "render/rgb_picture.h"
#include "render/tube_picture_options.h"


// In:  viewStart, the view matrix before the turn (the view's starting
//      camera for pictures); vertices of the tube's draw list (model units);
//      options (turn, fit, size).
// Out: the view matrix of the picture: TurnStep(turnX, turnY) * viewStart,
//      then fitted (FitView with kPictureFill) when options.fit.
Matrix4 TubePictureView(const Matrix4& viewStart, const std::vector<double>& vertices,
                        const TubePictureOptions& options);

class OffscreenContext;

// Draws pictures of one size and style, one after another, into a single
// offscreen context made once (a movie's frames need no context each).
class TubePainter {
public:
    // Makes the context of options.width x options.height pixels and sets
    // the view's fixed state; IsOK() tells whether that worked, Error() why
    // not. The context is current on the calling thread from then on.
    explicit TubePainter(const TubePictureOptions& options);
    ~TubePainter();
    TubePainter(const TubePainter&) = delete;
    TubePainter& operator=(const TubePainter&) = delete;

    bool IsOK() const;
    const std::string& Error() const;

    // The view matrix for this curve's tube: TubePictureView from the
    // view's starting camera (fitted to this curve when options.fit).
    Matrix4 ViewFor(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z) const;

    // Draws the curve's tube seen through `view` into `picture`. False with
    // `error` when the context could not be made.
    bool Paint(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const Matrix4& view,
               RgbPicture& picture, std::string& error) const;

private:
    TubePictureOptions m_options;
    std::unique_ptr<OffscreenContext> m_context;
};

// In:  x, y, z, the curve points (model units); options.
// Out: picture, the tube built with 30 vertices per ring, the thickness 0.03
//      times options.tubeScale, from the view's starting camera turned and
//      fitted as TubePictureView says, lit and coloured as in the view;
//      pixels the tube does not cover take options.background.
//      Returns false with `error` set when no offscreen context of that
//      size can be had; a curve with no points gives the bare background.
bool RenderTubePicture(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                       const TubePictureOptions& options, RgbPicture& picture, std::string& error);
