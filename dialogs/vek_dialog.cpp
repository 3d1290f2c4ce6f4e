#include "dialogs/vek_dialog.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>

#include "dialogs/dialog_keys.h"
#include "dialogs/number_exchange.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

CVekDialog::CVekDialog(wxWindow* owner, const char* templateName, int width, int height)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, owner, templateName);
    if (!m_bLoaded)
        return;
    // The template's size is the client area in dialog units.
    SetClientSize(ConvertDialogToPixels(wxSize(width, height)));
    CentreOnParent();
    // The toolkit's own handling differs between platforms (on GTK Escape
    // is lost on some controls and Tab skips some): the dialog takes the
    // navigation keys before any control sees them.
    Bind(wxEVT_CHAR_HOOK, &CVekDialog::OnCharHook, this);
    Bind(wxEVT_INIT_DIALOG, &CVekDialog::OnInitDialog, this);
}

std::vector<wxWindow*> CVekDialog::TabStops() const
{
    std::vector<wxWindow*> stops;
    for (wxWindow* child : GetChildren())
        if ((dynamic_cast<wxButton*>(child) || dynamic_cast<wxTextCtrl*>(child)) && child->IsShown() &&
            child->IsEnabled())
            stops.push_back(child);
    return stops;
}

void CVekDialog::OnInitDialog(wxInitDialogEvent& event)
{
    event.Skip();  // the exchange into the controls
    const std::vector<wxWindow*> stops = TabStops();
    if (!stops.empty())
        stops.front()->SetFocus();
}

void CVekDialog::OnCharHook(wxKeyEvent& event)
{
    DialogKey key = DialogKey::Other;
    const int code = event.GetKeyCode();
    const bool plain = !event.HasAnyModifiers();
    if (code == WXK_TAB && !event.ControlDown() && !event.AltDown() && !event.MetaDown())
        key = event.ShiftDown() ? DialogKey::ShiftTab : DialogKey::Tab;
    else if (code == WXK_ESCAPE && plain)
        key = DialogKey::Escape;
    else if ((code == WXK_RETURN || code == WXK_NUMPAD_ENTER) && plain)
        key = DialogKey::Return;

    const std::vector<wxWindow*> stops = TabStops();
    std::vector<bool> isButton;
    for (wxWindow* stop : stops)
        isButton.push_back(dynamic_cast<wxButton*>(stop) != nullptr);
    const auto at = [&stops](wxWindow* window) {
        const auto found = std::find(stops.begin(), stops.end(), window);
        return found == stops.end() ? -1 : static_cast<int>(found - stops.begin());
    };
    const DialogKeyAction action = DialogKeyRule(key, isButton, at(FindFocus()), at(GetDefaultItem()));
    switch (action.kind) {
    case DialogKeyAction::PassOn:
        event.Skip();
        return;
    case DialogKeyAction::Focus:
        stops[action.stop]->SetFocus();
        if (auto* edit = dynamic_cast<wxTextCtrl*>(stops[action.stop]))
            edit->SelectAll();
        return;
    case DialogKeyAction::Press:
        Press(stops[action.stop]);
        return;
    case DialogKeyAction::Cancel:
        if (wxWindow* cancel = FindWindow(wxID_CANCEL))
            Press(cancel);
        else if (IsModal())
            EndModal(wxID_CANCEL);
        return;
    }
}

void CVekDialog::Press(wxWindow* button)
{
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

int CVekDialog::DoModal()
{
    if (!m_bLoaded)
        return -1;
    return ShowModal() == wxID_OK ? 1 : 2;
}

bool CVekDialog::TransferDataToWindow()
{
    return DoDataExchange(false);
}

bool CVekDialog::TransferDataFromWindow()
{
    return DoDataExchange(true);
}

bool CVekDialog::ExchangeNumber(bool saveAndValidate, wxTextCtrl* edit, double& value)
{
    if (!edit)
        return false;
    if (!saveAndValidate) {
        edit->ChangeValue(wxString::FromUTF8(FormatDialogNumber(value)));
        return true;
    }
    double typed = 0.0;
    if (!ParseDialogNumber(NarrowNumberText(edit->GetValue().utf8_string()), typed)) {
        RefuseValue(edit, wxString::FromUTF8(LoadResString(AFX_IDP_PARSE_REAL)));
        return false;
    }
    value = typed;
    return true;
}

void CVekDialog::RefuseValue(wxTextCtrl* edit, const wxString& message)
{
    wxMessageBox(message, wxString::FromUTF8(vek::text::kAppTitle), wxOK | wxICON_EXCLAMATION, this);
    edit->SetFocus();
    edit->SelectAll();
}
