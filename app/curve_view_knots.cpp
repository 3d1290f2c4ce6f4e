// CCurveView's ﾌｧｲﾙ → 結び目表から開く: a knot of the table chosen in the
// dialog, its curve made as vek-relax --knot makes it and loaded into the
// sketch as a position data file would be.
#include "app/curve_view.h"

#include <vector>

#include "dialogs/knot_table_dlg.h"
#include "knot/knot_table.h"
#include "relax/knot_curve.h"
#include "res/string_table.h"

void CCurveView::OnFileOpenKnot()
{
    std::vector<KnotChoice> choices;
    for (const vek::KnotTableRow& row : vek::KnotTable())
        choices.push_back({row.name, row.crossings, row.mirrorDiffers});
    CKnotTableDlg dialog(wxGetTopLevelParent(this), std::move(choices));
    if (dialog.ShowModal() != wxID_OK)
        return;
    LoadKnot(dialog.m_strChosen);
}

bool CCurveView::LoadKnot(const std::string& name)
{
    CDoubleArray x, y, z;
    std::string error;
    if (vek::MakeKnotCurve(name, "", x, y, z, error) != vek::KnotCurveResult::Made) {
        ShowError(wxString::Format(wxString::FromUTF8(vek::text::kKnotTableFailed), wxString::FromUTF8(name),
                                   wxString::FromUTF8(error)));
        return false;
    }
    // As LoadPointsFrom does with the points of a file: a run going on ends
    // with this curve in the sketch.
    m_arrX.SetSize(x.GetSize());
    m_arrY.SetSize(y.GetSize());
    m_arrZ.SetSize(z.GetSize());
    for (int k = 0; k < x.GetSize(); ++k) {
        m_arrX[k] = x[k];
        m_arrY[k] = y[k];
        m_arrZ[k] = z[k];
    }
    EnterSketch();
    return true;
}
