// SketchCanvas: the four 2D drawing calls the sketch needs, so that the same
// painting code draws into the window's pixel buffer and into a recording
// for tests.
//
// Pen and brush are fixed: a solid black pen one pixel wide for outlines and
// lines, a solid white brush for interiors. Boxes are left, top, right,
// bottom in client pixels; a shape lies inside its box with the right and
// bottom edges excluded.
#pragma once

#include "curve/curve_state.h"

class SketchCanvas {
public:
    virtual ~SketchCanvas() = default;

    // A white rectangle filling the box, with a one-pixel black frame along
    // its inner edges.
    virtual void Rectangle(const CPixelRect& box) = 0;

    // Moves the current position without drawing.
    virtual void MoveTo(int x, int y) = 0;

    // A black line from the current position to (x, y), the end pixel not
    // drawn; the current position becomes (x, y).
    virtual void LineTo(int x, int y) = 0;

    // A white disc with a black outline inscribed in the box. The box is
    // passed as computed; corners may be exchanged and sides may be zero.
    virtual void Ellipse(const CPixelRect& box) = 0;
};
