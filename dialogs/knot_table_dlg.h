// CKnotTableDlg: "結び目表から開く", the knots of the table grouped by
// crossing number, filtered by the name typed above them, with a check box
// for the mirror image. m_strChosen is the name to make ("8_19*" for a
// mirror image) after OK.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

#include "dialogs/knot_filter.h"

class wxCheckBox;
class wxTextCtrl;
class wxTreeCtrl;
class wxTreeEvent;

class CKnotTableDlg : public wxDialog {
public:
    CKnotTableDlg(wxWindow* owner, std::vector<KnotChoice> choices);

    std::string m_strChosen;

    // The controls, for tests that type and choose as a user does.
    wxTextCtrl* Filter() const { return m_pFilter; }
    wxCheckBox* Mirror() const { return m_pMirror; }
    wxTreeCtrl* List() const { return m_pList; }
    // Selects the knot called `name` in the list as it is now filtered;
    // false when it is not shown.
    bool Select(const std::string& name);

    bool TransferDataFromWindow() override;

private:
    void Refill();
    int SelectedRow() const;

    std::vector<KnotChoice> m_choices;
    wxTextCtrl* m_pFilter = nullptr;
    wxCheckBox* m_pMirror = nullptr;
    wxTreeCtrl* m_pList = nullptr;
};
