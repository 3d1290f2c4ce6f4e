#include "dialogs/vek_dialog.h"

#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

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
    if (!ParseDialogNumber(edit->GetValue().utf8_string(), typed)) {
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
