// The camera of an offscreen picture: the view's starting camera, turned
// like a left drag and, on request, zoomed so that the tube fills the
// picture. No OpenGL here.
#pragma once

#include <vector>

#include "render/camera.h"

// In:  view, a view matrix (model to eye coordinates, column by column);
//      vertices, 3 doubles (x, y, z) per vertex in model units;
//      width x height, the picture in pixels (the orthographic box spans
//      -1 ... 1 across and -a ... a up with a = height / width);
//      fill, the part (0 ... 1] of the box's width or height that the
//      vertices may take.
// Out: S * T * view, where T moves the centre of the vertices' eye bounding
//      box to the eye origin and S scales uniformly so that the box takes
//      `fill` of the picture's width or height, whichever is reached first,
//      and stays within the eye depths -10 ... 10 that the box keeps.
//      `view` unchanged when there is nothing to fit: no vertices, a single
//      point, a size <= 0, or a value that is not finite.
Matrix4 FitView(const Matrix4& view, const std::vector<double>& vertices, int width, int height, double fill);
