// CVekDialog: a modal dialog loaded from a template in res/vek.xrc, with the
// data exchange of its members done in DoDataExchange.
//
// DoModal returns 1 when the dialog ended with OK, 2 when it ended with
// Cancel (the ｷｬﾝｾﾙ button, Escape or the close box), -1 when the template
// could not be loaded.
//
// The keyboard follows dialogs/dialog_keys.h on every platform: the focus
// starts on the first tab stop (OK), Tab and Shift+Tab go round the tab
// stops in template order, Escape cancels from any control and Return
// presses OK from any control but a button, which it presses itself.
#pragma once

#include <wx/dialog.h>

#include <vector>

class wxTextCtrl;

class CVekDialog : public wxDialog {
public:
    CVekDialog(wxWindow* owner, const char* templateName, int width, int height);

    int DoModal();

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

protected:
    // Moves the members into the controls (saveAndValidate false) or out of
    // them with validation (true). Returns false when a validation failed;
    // the exchange then stops, nothing more is stored, the dialog stays open.
    virtual bool DoDataExchange(bool saveAndValidate) = 0;

    // The number exchange of an edit control with a double: "%.*g" with 15
    // digits into the control; out of it, the typed text is checked and a
    // refused text shows "数字を入力してください。" and selects the text.
    bool ExchangeNumber(bool saveAndValidate, wxTextCtrl* edit, double& value);

    // Tells the user why a value that is a number was refused, then puts the
    // focus back on `edit` with its whole text selected.
    void RefuseValue(wxTextCtrl* edit, const wxString& message);

private:
    // The controls that take the focus from the keyboard, in template order:
    // buttons and edits that are shown and enabled.
    std::vector<wxWindow*> TabStops() const;
    void OnCharHook(wxKeyEvent& event);
    void OnInitDialog(wxInitDialogEvent& event);
    // Runs the click of `button` as if the user had pressed it.
    void Press(wxWindow* button);

    bool m_bLoaded = false;
};
