// RecordingCanvas: a SketchCanvas that keeps every call, in order, with its
// arguments, so tests can check boxes and drawing order without pixels.
#pragma once

#include <vector>

#include "sketch/sketch_canvas.h"

struct CanvasCall {
    enum Kind { kRectangle, kMoveTo, kLineTo, kEllipse };

    Kind kind = kRectangle;
    // Rectangle and Ellipse: the box as passed. MoveTo and LineTo: left and
    // top hold x and y, right and bottom stay 0.
    CPixelRect box;

    bool operator==(const CanvasCall&) const = default;

    static CanvasCall Rect(const CPixelRect& b) { return {kRectangle, b}; }
    static CanvasCall Ell(const CPixelRect& b) { return {kEllipse, b}; }
    static CanvasCall Move(int x, int y) { return {kMoveTo, {x, y, 0, 0}}; }
    static CanvasCall Line(int x, int y) { return {kLineTo, {x, y, 0, 0}}; }
};

class RecordingCanvas : public SketchCanvas {
public:
    void Rectangle(const CPixelRect& box) override { m_calls.push_back(CanvasCall::Rect(box)); }
    void MoveTo(int x, int y) override { m_calls.push_back(CanvasCall::Move(x, y)); }
    void LineTo(int x, int y) override { m_calls.push_back(CanvasCall::Line(x, y)); }
    void Ellipse(const CPixelRect& box) override { m_calls.push_back(CanvasCall::Ell(box)); }

    const std::vector<CanvasCall>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }

private:
    std::vector<CanvasCall> m_calls;
};
