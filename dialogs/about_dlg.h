// CAboutDlg: the About box, with the program's name, version and icon.
#pragma once

#include "dialogs/vek_dialog.h"

class CAboutDlg : public CVekDialog {
public:
    explicit CAboutDlg(wxWindow* owner);

protected:
    bool DoDataExchange(bool) override { return true; }
};
