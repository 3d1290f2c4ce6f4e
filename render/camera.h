// Camera arithmetic of the 3D view: the initial view matrix, matrix
// inversion and products, the transformations of the mouse navigation and
// the orthographic box. No OpenGL here: the view loads these matrices and
// boxes into its context.
//
// Matrices are 4 x 4 doubles stored column by column as OpenGL keeps them:
// element 4 * column + row, the first four values being the first column.
#pragma once

#include <array>

#include "curve/double_array.h"
#include "geom/vec3.h"

namespace vek {
// The view is always reset to look from this eye point at this centre.
inline constexpr Vec3 kInitialEye = {0.0, -1.0, 1.0};
inline constexpr Vec3 kInitialCentre = {0.0, 0.0, 0.0};
// Left drag: degrees of turn per pixel of mouse movement.
inline constexpr double kRotateDegreesPerPixel = 0.4;
// Both buttons: eye units of movement per pixel (a 400-pixel-wide view
// moves the model exactly with the mouse).
inline constexpr double kTranslatePerPixel = 0.005;
// Right drag: a drag by dx - dy pixels (right or up enlarges) in a view
// `width` pixels wide zooms by kZoomPerWidth ^ ((dx - dy) / width), three
// times across the whole width. A power of the distance, so that a drag
// zooms as far in one move as in many, and back by the same drag undoes it.
inline constexpr double kZoomPerWidth = 3.0;
// The zoom stops where the ball that holds the tube would reach past this
// share of the eye depth range (beyond it the tube would be cut open) ...
inline constexpr double kZoomDepthShare = 0.9;
// ... and where that ball would shrink below this eye radius (a few pixels).
inline constexpr double kZoomSmallestRadius = 0.01;
// Degrees to radians for the rotations.
inline constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;
// Orthographic box: x spans -1 ... 1, eye depth -10 ... 10.
inline constexpr double kOrthoHalfWidth = 1.0;
inline constexpr double kOrthoHalfDepth = 10.0;
}  // namespace vek

using Matrix4 = std::array<double, 16>;

// The identity matrix.
Matrix4 IdentityMatrix();

// In:  in, 16 values. Out: out, the inverse, in the same element order (so
// it serves column- and row-ordered matrices alike): the 16 cofactors and
// the determinant (expansion along the first four values), then
// out = adjugate / determinant element by element.
// Returns false and writes nothing when the determinant is zero or not
// finite, or when an element of the inverse would not be finite (the
// inverse does not exist in doubles); true otherwise. in and out may alias.
bool InvertMatrix(const double in[16], double out[16]);

// The view matrix that looks from the eye point E at the centre C (model
// units): the inverse of M with columns (dist * v, 0), (dist * w, 0),
// (E - C, 0), (C, 1), where dist = |E - C| and (v, w) = MakeFrame(E - C,
// (0, 0, 1)). C goes to the eye origin, E to eye (0, 0, 1), lengths shrink by
// 1 / dist. Returns the identity when M cannot be inverted (E = C, or a
// point that is not finite).
Matrix4 ResetCameraMatrix(Vec3 eye, Vec3 centre);

// a * b (b acts first on a point), each element summed over k = 0 ... 3.
Matrix4 MultiplyMatrix(const Matrix4& a, const Matrix4& b);

// Rotation by angleDegrees counter-clockwise about axis (seen from its
// positive end), as the OpenGL 1.1 glRotate page writes it, with
// c = cos(angle * pi / 180), s = sin(...). The axis is normalised first; an
// axis of zero length or not finite gives the identity.
Matrix4 RotationMatrix(double angleDegrees, Vec3 axis);

// Translation by (tx, ty, tz).
Matrix4 TranslationMatrix(double tx, double ty, double tz);

// Uniform scaling by s in x, y and z.
Matrix4 ScaleMatrix(double s);

// The turn of a left drag: Rx(degreesX) * Ry(degreesY), rotations about the
// eye x and y axes (Ry acts first on the model). A drag by (dx, dy) pixels
// is TurnStep(0.4 dy, 0.4 dx).
Matrix4 TurnStep(double degreesX, double degreesY);

// The zoom factor of a right drag by dx - dy pixels in a view clientWidth
// pixels wide: kZoomPerWidth ^ ((dx - dy) / clientWidth); 1 when
// clientWidth <= 0 (no width to relate to). May be 0 or infinite for drags
// far beyond the view; ZoomDragTo bounds it.
double ZoomFactor(int dx, int dy, int clientWidth);

// One navigation step of a mouse move by (dx, dy) pixels (dy > 0 = down)
// in a view clientWidth pixels wide, applied to the view matrix `view`.
// Buttons (non-zero = held):  left only: rotate, T = Rx(0.4 dy) * Ry(0.4 dx);
// both: translate, T = translation (0.005 dx, -0.005 dy, 0); right only:
// scale, T = scaling by ZoomFactor(dx, dy, clientWidth) (unbounded: the
// view zooms through ZoomDragTo).
// Returns T * view with the model origin put back to eye depth 0 (in the
// orthographic view a depth moves no pixel, but a turn of a model moved off
// the centre would swing it out of the depth range), and sets changed (a
// repaint is due, even for a zero move); with no button held returns view
// and clears changed.
Matrix4 NavigationStep(int leftDown, int rightDown, int dx, int dy, int clientWidth, const Matrix4& view,
                       bool& changed);
// The same step for callers that already know a button is held.
Matrix4 NavigationStep(int leftDown, int rightDown, int dx, int dy, int clientWidth, const Matrix4& view);

// The zoom of one right drag, measured from where the drag began, so that
// it depends on the drag's distance alone and not on how many moves the
// toolkit delivers.
struct ZoomDrag {
    bool active = false;
    Matrix4 start{};  // the view when the drag began
    Matrix4 last{};   // the view that the drag set last
    int startX = 0, startY = 0;
};

// In:  drag: the zoom drag going on (inactive: a new one begins here);
//      view: the current view matrix; (fromX, fromY): the pointer at the
//      previous press or move; (x, y): the pointer now (client pixels);
//      clientWidth; radius: a bound on |p| over the drawn tube (model units:
//      the farthest curve point from the model origin plus the ring radius).
// Out: the new view, Z * start, with Z the scaling by ZoomFactor of the
//      whole drag from its beginning, held so that the ball of `radius`
//      stays within kZoomDepthShare of the eye depth range and no smaller
//      than kZoomSmallestRadius; a bound already passed when the drag began
//      (a curve grown since) never zooms against the drag. A drag begins at
//      (fromX, fromY) on `view` when it is inactive or when something else
//      has changed the view since its last step (a reset, a load). A radius
//      that is not positive and finite bounds nothing but the factor's range.
Matrix4 ZoomDragTo(ZoomDrag& drag, const Matrix4& view, int fromX, int fromY, int x, int y, int clientWidth,
                   double radius);

// The radius of ZoomDragTo for the curve x, y, z and a ring radius:
// max |P| + |ringRadius|; |ringRadius| for no points.
double TubeBoundRadius(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double ringRadius);

// Orthographic projection box for a client area of cx x cy pixels, in the
// order of glOrtho's arguments.
struct OrthoBoxValues {
    double left, right, bottom, top, nearVal, farVal;
};

// (-1, 1, -a, a, -10, 10) with a = cy / cx in floating point. Callers ask
// SizeChangesProjection first; for a size it refuses, a = 1.
OrthoBoxValues OrthoBox(int cx, int cy);

// The part of OrthoBox(cx, cy) that the pixels [left, left + width) x
// [bottom, bottom + height) of the cx x cy picture cover (rows counted from
// the bottom, as OpenGL counts them): drawn into a width x height viewport,
// it gives that tile of the whole picture. A pixel edge is one expression of
// its index alone, so two tiles meet without gap or overlap, and the whole
// picture as one tile is OrthoBox(cx, cy) itself.
OrthoBoxValues OrthoTileBox(int cx, int cy, int left, int bottom, int width, int height);

// Whether a resize to cx x cy pixels sets viewport and projection: false
// when cx <= 0 or cy <= 0 (a minimised window keeps its projection).
bool SizeChangesProjection(int cx, int cy);
