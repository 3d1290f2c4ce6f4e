// CCurveState: the state record of the curve view, without any window or
// rendering context. The view window (app/curve_view.h) derives from it and
// so owns every field; the algorithms take the arrays and values they need
// as arguments and never need a toolkit.
#pragma once

#include <cstdint>

#include "curve/constants.h"
#include "curve/double_array.h"

// The run state of the view. In Sketch, paint and mouse input are the 2D
// editor; in Running and Suspended they are the 3D tube view.
enum RunState : int32_t {
    Sketch = 0,
    Running = 1,
    Suspended = 2,
};

// A point in client pixels.
struct CPixelPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// A rectangle in client pixels: left, top, right, bottom.
struct CPixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const CPixelRect&) const = default;
};

// 32-bit colour 0x00BBGGRR.
using ColorRef = uint32_t;

class CCurveState {
public:
    CCurveState() = default;
    CCurveState(const CCurveState&) = delete;
    CCurveState& operator=(const CCurveState&) = delete;

    // Fields in the order of the record. The window-system handles of the
    // record (client device context, rendering context) belong to the view.
    int32_t m_nState = Sketch;
    int32_t m_bLeftDown = 0;
    int32_t m_bRightDown = 0;
    // Written at every button press before any read; starts at (0, 0).
    CPixelPoint m_ptLast;
    CDoubleArray m_arrX;
    CDoubleArray m_arrY;
    CDoubleArray m_arrZ;
    CDoubleArray m_arrTubeX;
    CDoubleArray m_arrTubeY;
    CDoubleArray m_arrTubeZ;
    double m_dThickness = vek::kThickness;
    int32_t m_nRingSegments = vek::kRingSegments;
    double m_dPrecision = vek::kDefaultPrecision;
    // The cursor ring's box before the first mouse move or wheel event is
    // the empty rectangle (0, 0, 0, 0).
    CPixelRect m_rcCursorPrev;
    CPixelRect m_rcCursor;
    double m_dPenDepth = vek::kDefaultPenDepth;
    ColorRef m_crTube = vek::kColorWhite;
    double m_dTubeScale = vek::kDefaultTubeScale;

    int PointCount() const { return m_arrX.GetSize(); }

    // Appends one point to the three curve arrays together.
    void AppendPoint(double x, double y, double z)
    {
        m_arrX.SetAtGrow(m_arrX.GetSize(), x);
        m_arrY.SetAtGrow(m_arrY.GetSize(), y);
        m_arrZ.SetAtGrow(m_arrZ.GetSize(), z);
    }

    // Empties the three curve arrays, releasing their storage.
    void ClearCurve()
    {
        m_arrX.SetSize(0);
        m_arrY.SetSize(0);
        m_arrZ.SetSize(0);
    }
};
