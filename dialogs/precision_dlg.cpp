#include "dialogs/precision_dlg.h"

#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "dialogs/value_bounds.h"

CPrecisionDlg::CPrecisionDlg(wxWindow* owner)
    : CVekDialog(owner, "IDD_PRECISION", 187, 93)
{
}

bool CPrecisionDlg::DoDataExchange(bool saveAndValidate)
{
    auto* edit = XRCCTRL(*this, "IDC_VALUE_EDIT", wxTextCtrl);
    double value = m_dValue;
    if (!ExchangeNumber(saveAndValidate, edit, value))
        return false;
    if (saveAndValidate) {
        const long long count = m_pointCountAt ? m_pointCountAt(value) : 0;
        const std::string why = PrecisionRefusal(value, count);
        if (!why.empty()) {
            RefuseValue(edit, wxString::FromUTF8(why));
            return false;
        }
        m_dValue = value;
    }
    return true;
}
