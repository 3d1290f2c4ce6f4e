// CPrecisionDlg: the "精度" dialog; m_dValue is the precision, the divisor of
// the resampling spacing.
#pragma once

#include <functional>

#include "dialogs/vek_dialog.h"

class CPrecisionDlg : public CVekDialog {
public:
    explicit CPrecisionDlg(wxWindow* owner);

    double m_dValue = 0.0;
    // Tells how many points a precision would give the current curve at the
    // next resampling; values giving too many are refused. May be empty.
    std::function<long long(double)> m_pointCountAt;

protected:
    bool DoDataExchange(bool saveAndValidate) override;
};
