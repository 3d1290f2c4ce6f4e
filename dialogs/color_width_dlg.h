// CColorWidthDlg: the "色と太さ" dialog; m_nColorIndex is the position of the
// selected colour (-1 for none), m_dValue the display thickness factor.
#pragma once

#include "dialogs/vek_dialog.h"

class CColorWidthDlg : public CVekDialog {
public:
    explicit CColorWidthDlg(wxWindow* owner);

    double m_dValue = 0.0;
    int m_nColorIndex = -1;

protected:
    // The number first, then the colour group, in both directions.
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void ExchangeRadioGroup(bool saveAndValidate, const char* firstRadioName, int& index);

    bool m_bNoneSelected = false;
    bool m_bRadioClicked = false;
};
