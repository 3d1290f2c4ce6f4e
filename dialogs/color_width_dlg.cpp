#include "dialogs/color_width_dlg.h"

#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "dialogs/radio_exchange.h"
#include "dialogs/value_bounds.h"

CColorWidthDlg::CColorWidthDlg(wxWindow* owner)
    : CVekDialog(owner, "IDD_COLOR_WIDTH", 219, 139)
{
    // The colour buttons are no tab stops: Tab goes OK, ｷｬﾝｾﾙ, the edit.
    // (dynamic_cast, not wxDynamicCast: the toolkit's macro static_casts the
    // window to the asked class before it checks, undefined for the others.)
    for (wxWindow* child : GetChildren())
        if (dynamic_cast<wxRadioButton*>(child))
            child->SetCanFocus(false);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& event) {
        m_bRadioClicked = true;
        event.Skip();
    });
}

bool CColorWidthDlg::DoDataExchange(bool saveAndValidate)
{
    auto* edit = XRCCTRL(*this, "IDC_VALUE_EDIT", wxTextCtrl);
    double value = m_dValue;
    if (!ExchangeNumber(saveAndValidate, edit, value))
        return false;
    if (saveAndValidate) {
        const std::string why = ViewTubeScaleRefusal(value);
        if (!why.empty()) {
            RefuseValue(edit, wxString::FromUTF8(why));
            return false;
        }
        m_dValue = value;
    }
    ExchangeRadioGroup(saveAndValidate, "IDC_COLOR_WHITE", m_nColorIndex);
    return true;
}

void CColorWidthDlg::ExchangeRadioGroup(bool saveAndValidate, const char* firstRadioName, int& index)
{
    // The children in template order, as the grouping rule sees them.
    std::vector<wxWindow*> children(GetChildren().begin(), GetChildren().end());
    std::vector<DialogControlKind> kinds;
    int first = -1;
    for (wxWindow* child : children) {
        auto* radio = dynamic_cast<wxRadioButton*>(child);
        kinds.push_back({radio != nullptr, radio != nullptr && radio->HasFlag(wxRB_GROUP)});
        if (child->GetId() == wxXmlResource::GetXRCID(firstRadioName))
            first = static_cast<int>(kinds.size()) - 1;
    }
    std::vector<wxRadioButton*> group;
    for (int position : RadioGroupMembers(kinds, first))
        group.push_back(static_cast<wxRadioButton*>(children[position]));

    if (saveAndValidate) {
        // The toolkit always keeps one button of a group on; a group that
        // came in with none selected and that the user left alone goes out
        // with none selected, so an unknown colour stays as it is.
        if (m_bNoneSelected && !m_bRadioClicked)
            return;
        std::vector<bool> checked;
        for (wxRadioButton* radio : group)
            checked.push_back(radio->GetValue());
        index = RadioIndexFromChecks(checked);
    } else {
        m_bNoneSelected = index < 0 || index >= static_cast<int>(group.size());
        m_bRadioClicked = false;
        const std::vector<bool> checks = RadioChecksFromIndex(index, static_cast<int>(group.size()));
        for (size_t i = 0; i < group.size(); ++i)
            if (checks[i])
                group[i]->SetValue(true);
    }
}
