// CPictureSizeDlg: "画像の大きさ", the width and height in pixels of the
// picture that 画像保存 writes; each a whole number within the picture
// bounds of the command-line tools.
#pragma once

#include "dialogs/vek_dialog.h"

class CPictureSizeDlg : public CVekDialog {
public:
    explicit CPictureSizeDlg(wxWindow* owner);

    int m_nWidth = 0;
    int m_nHeight = 0;

protected:
    bool DoDataExchange(bool saveAndValidate) override;
};
