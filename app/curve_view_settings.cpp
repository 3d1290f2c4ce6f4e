// CCurveView's 設定 menu: the colour and width dialog and the precision
// dialog. A change rebuilds the tube (which repaints the view); the points
// are never changed.
#include "app/curve_view.h"

#include "curve/resample_curve.h"
#include "dialogs/color_table.h"
#include "dialogs/color_width_dlg.h"
#include "dialogs/precision_dlg.h"

void CCurveView::OnSettingsColorWidth()
{
    CColorWidthDlg dialog(wxGetTopLevelParent(this));
    dialog.m_nColorIndex = ColorIndexFromTube(m_crTube);
    dialog.m_dValue = m_dTubeScale;
    if (dialog.DoModal() != 1)
        return;
    m_crTube = TubeFromColorIndex(dialog.m_nColorIndex, m_crTube);
    m_dTubeScale = dialog.m_dValue;
    RebuildTubeOrTell();
}

void CCurveView::OnSettingsPrecision()
{
    CPrecisionDlg dialog(wxGetTopLevelParent(this));
    dialog.m_dValue = m_dPrecision;
    dialog.m_pointCountAt = [this](double precision) {
        return ResampleCount(m_arrX, m_arrY, m_arrZ, m_dThickness, precision);
    };
    if (dialog.DoModal() != 1)
        return;
    m_dPrecision = dialog.m_dValue;
    RebuildTubeOrTell();
}
