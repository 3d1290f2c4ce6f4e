// CCurveView's ﾌｧｲﾙ → 画像保存 and 形状保存: the view's picture as a PNG
// file, and the tube as a mesh file, each behind a save dialog with the
// replace question.
#include "app/curve_view.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include <new>
#include <vector>

#include "curve/curve_polygon.h"
#include "dialogs/picture_size_dlg.h"
#include "io/picture_file.h"
#include "io/points_file_paths.h"
#include "knot/polygon_thickness.h"
#include "relax/tube_export.h"
#include "res/string_table.h"

namespace {

wxString DialogFilter(const char* filter)
{
    wxString text = wxString::FromUTF8(filter);
    while (text.EndsWith("|"))
        text.RemoveLast();
    return text;
}

// The file the save dialog chose (a name without extension gets that of the
// file type chosen in the dialog, else `extension`), or "" when cancelled or
// a replace was declined.
std::string AskSavePath(wxWindow* owner, const char* title, const char* filter, const char* extension)
{
    wxFileDialog dialog(owner, wxString::FromUTF8(title), wxEmptyString, wxEmptyString, DialogFilter(filter),
                        wxFD_SAVE);
    if (dialog.ShowModal() != wxID_OK)
        return "";
    const std::string path = SaveDialogPath(dialog.GetPath().utf8_string(),
                                            FilterExtension(filter, dialog.GetFilterIndex(), extension));
    if (wxFileName::FileExists(wxString::FromUTF8(path))) {
        const wxString question = wxString::Format(wxString::FromUTF8(vek::text::kReplaceQuestion),
                                                   wxFileName(wxString::FromUTF8(path)).GetFullName());
        if (wxMessageBox(question, wxString::FromUTF8(vek::text::kAppTitle),
                         wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION, owner) != wxYES)
            return "";
    }
    return path;
}

}  // namespace

void CCurveView::OnFileSavePicture()
{
    // The size first (the view's own to start with, so that Return keeps
    // it), then the file.
    CPictureSizeDlg size(wxGetTopLevelParent(this));
    size.m_nWidth = GetClientSize().x;
    size.m_nHeight = GetClientSize().y;
    if (size.DoModal() != 1)
        return;
    const std::string path = AskSavePath(wxGetTopLevelParent(this), vek::text::kPictureSaveTitle,
                                         vek::text::kPictureFileFilter, vek::text::kPictureFileExtension);
    if (!path.empty())
        SavePictureTo(path, size.m_nWidth, size.m_nHeight);
}

void CCurveView::OnFileSaveShape()
{
    const std::string path = AskSavePath(wxGetTopLevelParent(this), vek::text::kShapeSaveTitle,
                                         vek::text::kShapeFileFilter, vek::text::kShapeFileExtension);
    if (!path.empty())
        SaveShapeTo(path);
}

bool CCurveView::SavePictureTo(const std::string& path)
{
    return SavePictureTo(path, GetClientSize().x, GetClientSize().y);
}

bool CCurveView::SavePictureTo(const std::string& path, int width, int height)
{
    std::vector<uint8_t> rgb;
    std::string error;
    bool read = false;
    try {
        // At the view's own size, exactly the pixels it shows.
        int shownWidth = 0, shownHeight = 0;
        read = width == GetClientSize().x && height == GetClientSize().y
                   ? ReadViewPicture(rgb, shownWidth, shownHeight)
                   : ReadPictureAt(width, height, rgb);
        if (!read)
            error = vek::text::kPictureNoView;
    } catch (const std::bad_alloc&) {
        error = vek::text::kOutOfMemory;
    }
    if (read && WritePictureFile(path, rgb.data(), width, height, error))
        return true;
    ShowError(wxString::Format(wxString::FromUTF8(vek::text::kPictureSaveFailed), wxString::FromUTF8(path),
                               wxString::FromUTF8(error)));
    return false;
}

bool CCurveView::SaveShapeTo(const std::string& path)
{
    // A certified curve's tube is made at its certified radius, so that the
    // mesh does not overlap itself; any other at the nominal thickness.
    double thickness = m_dThickness;
    const vek::PolygonThickness certified = vek::ComputePolygonThickness(CurvePolygon(m_arrX, m_arrY, m_arrZ));
    if (certified.thickness > 0.0)
        thickness = 2.0 * certified.thickness;
    std::string error;
    if (vek::ExportTubeMesh(m_arrX, m_arrY, m_arrZ, thickness, 1.0, std::nullopt, path, error))
        return true;
    ShowError(wxString::Format(wxString::FromUTF8(vek::text::kShapeSaveFailed), wxString::FromUTF8(path),
                               wxString::FromUTF8(error)));
    return false;
}
