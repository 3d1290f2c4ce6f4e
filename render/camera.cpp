#include "render/camera.h"

#include <algorithm>
#include <cmath>

#include "render/make_frame.h"

namespace {

// Element (row, column) of a matrix held in the order of in[16]; which of
// the two is the row does not matter to the inversion.
double At(const double m[16], int row, int column) { return m[4 * row + column]; }

// Determinant of the 3 x 3 minor of m without the given row and column,
// expanded along its first row.
double MinorDeterminant(const double m[16], int skipRow, int skipColumn)
{
    int rows[3];
    int columns[3];
    for (int i = 0, r = 0, c = 0; i < 4; ++i) {
        if (i != skipRow)
            rows[r++] = i;
        if (i != skipColumn)
            columns[c++] = i;
    }
    const auto e = [&](int r, int c) { return At(m, rows[r], columns[c]); };
    return e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) - e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
           e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
}

}  // namespace

Matrix4 IdentityMatrix()
{
    return {1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0};
}

bool InvertMatrix(const double in[16], double out[16])
{
    double cofactor[16];
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const double minor = MinorDeterminant(in, row, column);
            cofactor[4 * row + column] = (row + column) % 2 == 0 ? minor : -minor;
        }
    }
    const double determinant = At(in, 0, 0) * cofactor[0] + At(in, 0, 1) * cofactor[1] +
                               At(in, 0, 2) * cofactor[2] + At(in, 0, 3) * cofactor[3];
    if (determinant == 0.0 || !std::isfinite(determinant))
        return false;

    // The adjugate is the transposed cofactor matrix.
    double inverse[16];
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            inverse[4 * row + column] = cofactor[4 * column + row] / determinant;
            if (!std::isfinite(inverse[4 * row + column]))
                return false;
        }
    }
    std::copy(inverse, inverse + 16, out);
    return true;
}

Matrix4 ResetCameraMatrix(Vec3 eye, Vec3 centre)
{
    const Vec3 d = eye - centre;
    const double dist = Length(d);
    Vec3 v;
    Vec3 w;
    MakeFrame(d, {0.0, 0.0, 1.0}, v, w);

    const Matrix4 eyeToModel = {
        dist * v.x, dist * v.y, dist * v.z, 0.0,  //
        dist * w.x, dist * w.y, dist * w.z, 0.0,  //
        d.x,        d.y,        d.z,        0.0,  //
        centre.x,   centre.y,   centre.z,   1.0,
    };
    Matrix4 view;
    if (!InvertMatrix(eyeToModel.data(), view.data()))
        return IdentityMatrix();
    return view;
}

Matrix4 MultiplyMatrix(const Matrix4& a, const Matrix4& b)
{
    Matrix4 product;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            product[4 * column + row] = a[row] * b[4 * column] + a[4 + row] * b[4 * column + 1] +
                                        a[8 + row] * b[4 * column + 2] + a[12 + row] * b[4 * column + 3];
        }
    }
    return product;
}

Matrix4 RotationMatrix(double angleDegrees, Vec3 axis)
{
    Vec3 u;
    if (!UnitDirection(axis, u))
        return IdentityMatrix();
    const double radians = angleDegrees * vek::kRadiansPerDegree;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double oneMinusC = 1.0 - c;
    const double x = u.x;
    const double y = u.y;
    const double z = u.z;
    return {
        x * x * oneMinusC + c,     y * x * oneMinusC + z * s, x * z * oneMinusC - y * s, 0.0,
        x * y * oneMinusC - z * s, y * y * oneMinusC + c,     y * z * oneMinusC + x * s, 0.0,
        x * z * oneMinusC + y * s, y * z * oneMinusC - x * s, z * z * oneMinusC + c,     0.0,
        0.0,                       0.0,                       0.0,                       1.0,
    };
}

Matrix4 TranslationMatrix(double tx, double ty, double tz)
{
    Matrix4 m = IdentityMatrix();
    m[12] = tx;
    m[13] = ty;
    m[14] = tz;
    return m;
}

Matrix4 ScaleMatrix(double s)
{
    Matrix4 m = IdentityMatrix();
    m[0] = s;
    m[5] = s;
    m[10] = s;
    return m;
}

Matrix4 TurnStep(double degreesX, double degreesY)
{
    // Ry acts first on the model, then Rx, as the two rotations are
    // multiplied onto the identity in the order x, y.
    return MultiplyMatrix(RotationMatrix(degreesX, {1.0, 0.0, 0.0}), RotationMatrix(degreesY, {0.0, 1.0, 0.0}));
}

namespace {

// kZoomPerWidth ^ (pixels / clientWidth), pixels = dx - dy, in doubles: the
// difference of two ints is exact there and cannot overflow.
double ZoomFactorOfPixels(double pixels, int clientWidth)
{
    if (clientWidth <= 0)
        return 1.0;
    return std::pow(vek::kZoomPerWidth, pixels / static_cast<double>(clientWidth));
}

// Length of row `row` of the 3 x 3 part: how far that eye coordinate of a
// model point can be from the image of the origin, per unit of |p|.
double RowLength(const Matrix4& m, int row)
{
    return std::sqrt(m[row] * m[row] + m[4 + row] * m[4 + row] + m[8 + row] * m[8 + row]);
}

}  // namespace

double ZoomFactor(int dx, int dy, int clientWidth)
{
    return ZoomFactorOfPixels(static_cast<double>(dx) - static_cast<double>(dy), clientWidth);
}

Matrix4 NavigationStep(int leftDown, int rightDown, int dx, int dy, int clientWidth, const Matrix4& view,
                       bool& changed)
{
    const bool left = leftDown != 0;
    const bool right = rightDown != 0;
    changed = left || right;
    if (!changed)
        return view;

    // Pixel deltas as doubles: exact.
    const double moveX = dx;
    const double moveY = dy;
    Matrix4 step;
    if (left && !right) {
        step = TurnStep(vek::kRotateDegreesPerPixel * moveY, vek::kRotateDegreesPerPixel * moveX);
    } else if (left && right) {
        step = TranslationMatrix(vek::kTranslatePerPixel * moveX, -(vek::kTranslatePerPixel * moveY), 0.0);
    } else {
        step = ScaleMatrix(ZoomFactor(dx, dy, clientWidth));
    }
    Matrix4 result = MultiplyMatrix(step, view);
    result[14] = 0.0;
    return result;
}

Matrix4 NavigationStep(int leftDown, int rightDown, int dx, int dy, int clientWidth, const Matrix4& view)
{
    bool changed = false;
    return NavigationStep(leftDown, rightDown, dx, dy, clientWidth, view, changed);
}

Matrix4 ZoomDragTo(ZoomDrag& drag, const Matrix4& view, int fromX, int fromY, int x, int y, int clientWidth,
                   double radius)
{
    if (!drag.active || drag.last != view) {
        drag.active = true;
        drag.start = view;
        drag.startX = fromX;
        drag.startY = fromY;
    }
    const double pixels = (static_cast<double>(x) - drag.startX) - (static_cast<double>(y) - drag.startY);
    double factor = ZoomFactorOfPixels(pixels, clientWidth);

    if (!(radius > 0.0 && std::isfinite(radius)))
        radius = vek::kZoomSmallestRadius;
    const Matrix4& start = drag.start;
    // Eye depth of a point of the ball: within |row 2| * radius of the
    // origin's image; its eye x and y within the lengths of rows 0 and 1.
    const double depthReach = RowLength(start, 2) * radius + std::fabs(start[14]);
    const double sizeReach = std::max(RowLength(start, 0), RowLength(start, 1)) * radius;
    const double depthRoom = vek::kOrthoHalfDepth * vek::kZoomDepthShare;
    const double largest = depthReach > 0.0 ? depthRoom / depthReach : HUGE_VAL;
    const double smallest = sizeReach > 0.0 ? vek::kZoomSmallestRadius / sizeReach : 0.0;
    // A bound passed already holds the view where it is, never zooms back.
    factor = std::min(factor, std::max(largest, 1.0));
    factor = std::max(factor, std::min(smallest, 1.0));
    if (!(factor > 0.0 && std::isfinite(factor)))
        factor = 1.0;

    drag.last = MultiplyMatrix(ScaleMatrix(factor), start);
    return drag.last;
}

double TubeBoundRadius(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double ringRadius)
{
    const int count = std::min({x.GetSize(), y.GetSize(), z.GetSize()});
    double farthest = 0.0;
    for (int i = 0; i < count; ++i)
        farthest = std::max(farthest, SquaredLength({x[i], y[i], z[i]}));
    return std::sqrt(farthest) + std::fabs(ringRadius);
}

OrthoBoxValues OrthoBox(int cx, int cy)
{
    const double a = SizeChangesProjection(cx, cy) ? static_cast<double>(cy) / static_cast<double>(cx) : 1.0;
    return {-vek::kOrthoHalfWidth, vek::kOrthoHalfWidth, -a, a, -vek::kOrthoHalfDepth, vek::kOrthoHalfDepth};
}

OrthoBoxValues OrthoTileBox(int cx, int cy, int left, int bottom, int width, int height)
{
    const OrthoBoxValues whole = OrthoBox(cx, cy);
    if (!SizeChangesProjection(cx, cy))
        return whole;
    const auto edge = [](double low, double high, int pixel, int pixels) {
        if (pixel <= 0)
            return low;
        if (pixel >= pixels)
            return high;
        return low + (high - low) * (static_cast<double>(pixel) / static_cast<double>(pixels));
    };
    OrthoBoxValues box = whole;
    box.left = edge(whole.left, whole.right, left, cx);
    box.right = edge(whole.left, whole.right, left + width, cx);
    box.bottom = edge(whole.bottom, whole.top, bottom, cy);
    box.top = edge(whole.bottom, whole.top, bottom + height, cy);
    return box;
}

bool SizeChangesProjection(int cx, int cy) { return cx > 0 && cy > 0; }
