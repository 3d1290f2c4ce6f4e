// CCurveView's ﾌｧｲﾙ menu: loading and saving the position data file, with
// the file dialogs and the replace question in front of the file work.
#include "app/curve_view.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include <stdexcept>
#include <vector>

#include "curve/constants.h"
#include "curve/replace_points.h"
#include "curve/run_limits.h"
#include "io/points_file.h"
#include "io/points_file_paths.h"
#include "res/string_table.h"

namespace {

// The dialogs take the filter without the closing "||".
wxString FileDialogFilter()
{
    wxString filter = wxString::FromUTF8(vek::text::kPointsFileFilter);
    while (filter.EndsWith("|"))
        filter.RemoveLast();
    return filter;
}

}  // namespace

void CCurveView::OnFileLoadPoints()
{
    wxFileDialog dialog(wxGetTopLevelParent(this), wxString::FromUTF8(vek::text::kOpenDialogTitle), wxEmptyString,
                        wxEmptyString, FileDialogFilter(), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return;
    LoadPointsFrom(OpenDialogPath(dialog.GetPath().utf8_string(), vek::text::kPointsFileExtension));
}

void CCurveView::OnFileSavePoints()
{
    // The toolkit's own replace question would name the file as typed, before
    // the default extension is added: the question is asked here, once, about
    // the file that will really be written.
    wxFileDialog dialog(wxGetTopLevelParent(this), wxString::FromUTF8(vek::text::kSaveDialogTitle), wxEmptyString,
                        wxEmptyString, FileDialogFilter(), wxFD_SAVE);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const std::string path = SaveDialogPath(dialog.GetPath().utf8_string(), vek::text::kPointsFileExtension);
    if (wxFileName::FileExists(wxString::FromUTF8(path))) {
        const wxString question = wxString::Format(wxString::FromUTF8(vek::text::kReplaceQuestion),
                                                   wxFileName(wxString::FromUTF8(path)).GetFullName());
        if (wxMessageBox(question, wxString::FromUTF8(vek::text::kAppTitle), wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION,
                         wxGetTopLevelParent(this)) != wxYES)
            return;
    }
    SavePointsTo(path);
}

bool CCurveView::LoadPointsFrom(const std::string& path)
{
    // The points are replaced only once the whole file has been read: a file
    // that cannot be read leaves the curve and a run as they are, and the
    // user is told. Nothing is handled between reading and the state change,
    // so a run in progress still ends with the loaded points in the sketch.
    // A file is held to the limit of a run, so that what loads can be run.
    std::string error;
    bool read = false;
    try {
        std::vector<double> xyz;
        read = GatherPointsFile(path, xyz, error);
        const size_t count = xyz.size() / 3;
        if (read && count > static_cast<size_t>(vek::kMaxCurvePoints)) {
            ShowError(wxString::Format(wxString::FromUTF8(vek::text::kLoadTooManyPoints), static_cast<unsigned long long>(count),
                                       vek::kMaxCurvePoints));
            return false;
        }
        // A file that gives no closed curve (empty, not a position data
        // file, one or two points) is not loaded: the sketch stays, and a
        // save still writes it.
        if (read && count < static_cast<size_t>(vek::kMinClosedCurvePoints)) {
            read = false;
            error = count == 0 ? std::string(vek::text::kLoadNoPoints)
                               : wxString::Format(wxString::FromUTF8(vek::text::kLoadTooFewPoints),
                                                  static_cast<int>(count), vek::kMinClosedCurvePoints)
                                     .utf8_string();
        }
        if (read)
            ReplacePoints(xyz, m_arrX, m_arrY, m_arrZ);
    } catch (const std::exception&) {
        read = false;
        error = vek::text::kOutOfMemory;
    }
    if (!read) {
        ShowError(wxString::Format(wxString::FromUTF8(vek::text::kLoadPointsFailed), wxString::FromUTF8(path),
                                   wxString::FromUTF8(error)));
        return false;
    }
    EnterSketch();
    return true;
}

bool CCurveView::SavePointsTo(const std::string& path)
{
    std::string error;
    if (WritePointsFile(path, m_arrX, m_arrY, m_arrZ, error))
        return true;
    ShowError(wxString::Format(wxString::FromUTF8(vek::text::kSavePointsFailed), wxString::FromUTF8(path),
                               wxString::FromUTF8(error)));
    return false;
}
