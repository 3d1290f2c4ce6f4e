// ViewProbe: the tests' observer of the view. It counts paints and tube
// builds, keeps the invalidated boxes, and reads back the picture of a paint
// (as drawn, or with the tube drawn quad by quad instead, for comparing the
// two drawing paths).
#pragma once

#include <cstdint>
#include <vector>

#include "app/curve_view.h"
#include "app/view_observer.h"

class ViewProbe : public CViewObserver {
public:
    // Installs itself as the view's observer; removes itself when destroyed
    // (unless the view has gone first).
    explicit ViewProbe(CCurveView& view);
    ~ViewProbe() override;
    ViewProbe(const ViewProbe&) = delete;
    ViewProbe& operator=(const ViewProbe&) = delete;

    int SketchPaints() const { return m_sketchPaints; }
    int TubePaints() const { return m_tubePaints; }
    int TubeBuilds() const { return m_tubeBuilds; }
    // Every box invalidated since the probe was installed, in order.
    const std::vector<CPixelRect>& Invalidations() const { return m_invalidations; }
    // The list the last tube paint drew from; null before the first.
    const TubeDrawList* DrawnList() const { return m_drawnList; }

    // What the picture of a tube paint shows.
    enum class Tube { AsPainted, QuadByQuad };
    // Has the view paint now and reads back the back buffer at the end of
    // that paint: RGB rows from the bottom, width x height of the client
    // area. Empty when no paint happened (no context could be made
    // current). With Tube::QuadByQuad a tube paint's picture is redrawn by
    // DrawReferenceTube before it is read.
    std::vector<uint8_t> Picture(int& width, int& height, Tube tube = Tube::AsPainted);

    void OnSketchPainted() override;
    void OnTubePainted(const TubeDrawList& drawn) override;
    void OnInvalidate(const CPixelRect& box) override;
    void OnTubeBuilt() override;

private:
    void ReadBack();

    CCurveView* m_view;
    int m_sketchPaints = 0;
    int m_tubePaints = 0;
    int m_tubeBuilds = 0;
    std::vector<CPixelRect> m_invalidations;
    const TubeDrawList* m_drawnList = nullptr;

    bool m_capturing = false;
    Tube m_captureTube = Tube::AsPainted;
    std::vector<uint8_t> m_picture;
};
