#include "dialogs/knot_table_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include "res/string_table.h"

namespace {

// A knot's row in the tree: its index into the choices.
class RowData : public wxTreeItemData {
public:
    explicit RowData(int row) : row(row) {}
    int row;
};

}  // namespace

CKnotTableDlg::CKnotTableDlg(wxWindow* owner, std::vector<KnotChoice> choices)
    : wxDialog(owner, wxID_ANY, wxString::FromUTF8(vek::text::kKnotTableTitle), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER),
      m_choices(std::move(choices))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* filterRow = new wxBoxSizer(wxHORIZONTAL);
    filterRow->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(vek::text::kKnotTableFilter)), 0,
                   wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    // Return in the filter presses OK (the first knot shown is selected).
    m_pFilter = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    filterRow->Add(m_pFilter, 1, wxEXPAND);
    m_pMirror = new wxCheckBox(this, wxID_ANY, wxString::FromUTF8(vek::text::kKnotTableMirror));
    filterRow->Add(m_pMirror, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 12);
    top->Add(filterRow, 0, wxEXPAND | wxALL, 8);
    m_pList = new wxTreeCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(260, 360),
                             wxTR_HIDE_ROOT | wxTR_HAS_BUTTONS | wxTR_SINGLE | wxTR_LINES_AT_ROOT);
    top->Add(m_pList, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("ｷｬﾝｾﾙ")));
    buttons->Realize();
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);

    m_pFilter->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { Refill(); });
    m_pFilter->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) {
        if (Validate() && TransferDataFromWindow())
            EndModal(wxID_OK);
    });
    // A double click on a knot, or Return in the list, chooses it.
    m_pList->Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent&) {
        if (SelectedRow() >= 0 && Validate() && TransferDataFromWindow())
            EndModal(wxID_OK);
    });
    Refill();
    m_pFilter->SetFocus();
}

void CKnotTableDlg::Refill()
{
    const std::vector<KnotGroup> groups = FilterKnots(m_choices, m_pFilter->GetValue().utf8_string());
    m_pList->Freeze();
    m_pList->DeleteAllItems();
    const wxTreeItemId root = m_pList->AddRoot("");
    // Typed names show their knots at once; the whole table shows the
    // groups folded.
    const bool open = !m_pFilter->GetValue().IsEmpty();
    wxTreeItemId first;
    for (const KnotGroup& group : groups) {
        const wxTreeItemId node =
            m_pList->AppendItem(root, wxString::Format(wxString::FromUTF8(vek::text::kKnotTableGroup), group.crossings));
        for (int row : group.rows) {
            const wxTreeItemId item =
                m_pList->AppendItem(node, wxString::FromUTF8(m_choices[row].name), -1, -1, new RowData(row));
            if (!first.IsOk())
                first = item;
        }
        if (open)
            m_pList->Expand(node);
    }
    if (open && first.IsOk())
        m_pList->SelectItem(first);
    m_pList->Thaw();
}

int CKnotTableDlg::SelectedRow() const
{
    const wxTreeItemId item = m_pList->GetSelection();
    if (!item.IsOk())
        return -1;
    const auto* data = dynamic_cast<RowData*>(m_pList->GetItemData(item));
    return data ? data->row : -1;
}

bool CKnotTableDlg::Select(const std::string& name)
{
    const wxTreeItemId root = m_pList->GetRootItem();
    wxTreeItemIdValue groupCookie, rowCookie;
    for (wxTreeItemId group = m_pList->GetFirstChild(root, groupCookie); group.IsOk();
         group = m_pList->GetNextChild(root, groupCookie))
        for (wxTreeItemId item = m_pList->GetFirstChild(group, rowCookie); item.IsOk();
             item = m_pList->GetNextChild(group, rowCookie))
            if (m_pList->GetItemText(item).utf8_string() == name) {
                m_pList->Expand(group);
                m_pList->SelectItem(item);
                return true;
            }
    return false;
}

bool CKnotTableDlg::TransferDataFromWindow()
{
    const int row = SelectedRow();
    // OK with a group or nothing selected keeps the dialog open.
    if (row < 0)
        return false;
    m_strChosen = ChosenKnotName(m_choices[row], m_pMirror->GetValue());
    return true;
}
