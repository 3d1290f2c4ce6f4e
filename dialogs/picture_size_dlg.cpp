#include "dialogs/picture_size_dlg.h"

#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <utility>

#include "dialogs/value_bounds.h"

CPictureSizeDlg::CPictureSizeDlg(wxWindow* owner)
    : CVekDialog(owner, "IDD_PICTURE_SIZE", 187, 52)
{
}

bool CPictureSizeDlg::DoDataExchange(bool saveAndValidate)
{
    auto* widthEdit = XRCCTRL(*this, "IDC_WIDTH_EDIT", wxTextCtrl);
    auto* heightEdit = XRCCTRL(*this, "IDC_HEIGHT_EDIT", wxTextCtrl);
    double width = m_nWidth, height = m_nHeight;
    // Both are checked before either is stored: a refused height leaves the
    // width as it was.
    for (auto [edit, value] : {std::pair{widthEdit, &width}, std::pair{heightEdit, &height}}) {
        if (!ExchangeNumber(saveAndValidate, edit, *value))
            return false;
        if (saveAndValidate) {
            const std::string why = PictureSideRefusal(*value);
            if (!why.empty()) {
                RefuseValue(edit, wxString::FromUTF8(why));
                return false;
            }
        }
    }
    if (saveAndValidate) {
        m_nWidth = static_cast<int>(width);
        m_nHeight = static_cast<int>(height);
    }
    return true;
}
