#include "dialogs/about_dlg.h"

CAboutDlg::CAboutDlg(wxWindow* owner)
    : CVekDialog(owner, "IDD_ABOUTBOX", 235, 55)
{
    // Without a Cancel button, Escape and the close box still end it as Cancel.
    SetEscapeId(wxID_CANCEL);
}
