// CViewObserver: what a watcher of the view is told as it happens: each
// paint, each invalidated box and each tube build. The view holds at most
// one observer and calls nothing when it has none.
#pragma once

#include "curve/curve_state.h"

struct TubeDrawList;

class CViewObserver {
public:
    virtual ~CViewObserver() = default;

    // After a paint has drawn into the back buffer and before the buffers
    // are swapped; the view's OpenGL context is current, with its viewport
    // and, for the tube, its camera loaded. `drawn` is the list the tube was
    // drawn from; it stays the view's own and lives as long as the view.
    virtual void OnSketchPainted() {}
    virtual void OnTubePainted(const TubeDrawList& drawn) { static_cast<void>(drawn); }

    // A box of client pixels was invalidated, as passed (corners may be
    // exchanged; an empty box asks for nothing).
    virtual void OnInvalidate(const CPixelRect& box) { static_cast<void>(box); }

    // The tube was rebuilt from the curve.
    virtual void OnTubeBuilt() {}
};
