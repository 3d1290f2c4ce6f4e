// 画像保存 at a size the user types: the size dialog, its refusals, and the
// picture drawn in tiles when it is larger than the view.
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "gui_test_support.h"
#include "picture_compare.h"
#include "res/resource_ids.h"

namespace {

const std::string kTrefoil = std::string(VEK_SOURCE_DIR) + "/examples/trefoil.txt";

wxTextCtrl* SideEdit(wxDialog* dialog, const char* name)
{
    return XRCCTRL(*dialog, name, wxTextCtrl);
}

// The size dialog's answer: records what it showed, types the two sides and
// presses OK; a refused text ends it with Cancel.
ScriptedDialogs::Answer TypeSize(std::string& shownSize, std::string width, std::string height)
{
    return [&shownSize, width, height](wxDialog* dialog) {
        dialog->TransferDataToWindow();
        shownSize = SideEdit(dialog, "IDC_WIDTH_EDIT")->GetValue().utf8_string() + "x" +
                    SideEdit(dialog, "IDC_HEIGHT_EDIT")->GetValue().utf8_string();
        SideEdit(dialog, "IDC_WIDTH_EDIT")->SetValue(wxString::FromUTF8(width));
        SideEdit(dialog, "IDC_HEIGHT_EDIT")->SetValue(wxString::FromUTF8(height));
        return dialog->TransferDataFromWindow() ? wxID_OK : wxID_CANCEL;
    };
}

}  // namespace

class PictureSizeTest : public FrameTest {
protected:
    void ShowTube()
    {
        ASSERT_TRUE(View().LoadPointsFrom(kTrefoil));
        View().m_crTube = 0x00CCAAFF;  // pink
        View().m_dTubeScale = 2.0;
        View().BuildTube();
        View().m_nState = Suspended;
    }
    std::string ViewSize()
    {
        return std::to_string(View().GetClientSize().x) + "x" + std::to_string(View().GetClientSize().y);
    }
};

TEST_F(PictureSizeTest, APictureLargerThanTheViewIsTheToolsPictureAtThatSize)
{
    ShowTube();
    // Wider and taller than the view, and no multiple of it: the tiles at
    // the right and the top are cut.
    const int width = 2 * View().GetClientSize().x + 13, height = View().GetClientSize().y + 29;
    const std::string png = TempPath("typed-size.png");
    std::remove(png.c_str());
    ScriptedDialogs dialogs;
    std::string shownSize;
    dialogs.Then(TypeSize(shownSize, std::to_string(width), std::to_string(height)))
        .Then(ChooseFile(png));
    SendCommand(frame, ID_FILE_SAVE_PICTURE);
    EXPECT_EQ(dialogs.unexpected, 0);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, "画像の大きさ");
    EXPECT_EQ(shownSize, ViewSize()) << "the dialog starts with the view's size";
    int savedWidth = 0, savedHeight = 0;
    const std::vector<uint8_t> saved = ReadPng(png, savedWidth, savedHeight);
    ASSERT_EQ(savedWidth, width);
    ASSERT_EQ(savedHeight, height);

    const std::string out = TempPath("typed-size-tool.ppm");
    std::remove(out.c_str());
    std::ostringstream command;
    command << "'" << VEK_TUBE_PICTURE << "' '" << kTrefoil << "' '" << out << "' --size " << width << "x"
            << height << " --colour pink --scale 2";
    ASSERT_EQ(std::system(command.str().c_str()), 0) << command.str();
    int toolWidth = 0, toolHeight = 0;
    const std::vector<uint8_t> drawn = ReadPpm(out, toolWidth, toolHeight);
    ASSERT_EQ(toolWidth, width);
    ASSERT_EQ(toolHeight, height);
    const PictureDifference d = ComparePictures(saved, drawn, width, height, 2);
    EXPECT_GT(d.lit, static_cast<size_t>(width) * height / 100) << "the picture shows a tube";
    EXPECT_TRUE(SameRendering(d, width, height)) << d.differing << " pixels differ, by up to " << d.largest;
}

TEST_F(PictureSizeTest, SmallTilesMeetWithoutSeams)
{
    ShowTube();
    std::vector<uint8_t> shown, tiled;
    int width = 0, height = 0;
    ASSERT_TRUE(View().ReadViewPicture(shown, width, height));
    ASSERT_TRUE(View().ReadPictureAt(width, height, tiled, 37, 23));
    const PictureDifference d = ComparePictures(shown, tiled, width, height, 2);
    EXPECT_GT(d.lit, static_cast<size_t>(width) * height / 100);
    EXPECT_TRUE(SameRendering(d, width, height)) << d.differing << " pixels differ, by up to " << d.largest;
}

struct SizeCase {
    const char* width;
    const char* height;
    int savedWidth;       // 0: refused
    const char* refusal;  // the message when refused
};

class TypedPictureSizeTest : public PictureSizeTest, public ::testing::WithParamInterface<SizeCase> {};

const char* const kSideRefusal = "幅と高さには 16 から 8192 までの整数を入力してください。";

// The sketch is painted at the typed size; full-width digits are taken as a
// Japanese input method types them; a refused side keeps the dialog open
// with the message and writes nothing.
TEST_P(TypedPictureSizeTest, IsTakenOrRefusedWithItsMessage)
{
    const SizeCase& c = GetParam();
    ASSERT_TRUE(View().LoadPointsFrom(kTrefoil));
    const std::string png = TempPath("typed-sketch.png");
    std::remove(png.c_str());
    ScriptedDialogs dialogs;
    std::string shownSize;
    dialogs.Then(TypeSize(shownSize, c.width, c.height));
    if (c.refusal)
        dialogs.ThenReturn(wxID_OK);  // the message box
    else
        dialogs.Then(ChooseFile(png));
    SendCommand(frame, ID_FILE_SAVE_PICTURE);
    EXPECT_EQ(dialogs.unexpected, 0);
    int savedWidth = 0, savedHeight = 0;
    const std::vector<uint8_t> saved = ReadPng(png, savedWidth, savedHeight);
    if (c.refusal) {
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[1].message, c.refusal);
        EXPECT_TRUE(saved.empty()) << "nothing is written";
        return;
    }
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(savedWidth, c.savedWidth);
    ASSERT_FALSE(saved.empty());
    if (savedWidth < 600)
        return;
    // The sketch's white background with its black frame, at that size.
    EXPECT_EQ(saved[(static_cast<size_t>(savedHeight / 2) * savedWidth + 5) * 3], 255);
    EXPECT_EQ(saved[(static_cast<size_t>(savedHeight / 2) * savedWidth) * 3], 0);
}

INSTANTIATE_TEST_SUITE_P(Sides, TypedPictureSizeTest,
                         ::testing::Values(SizeCase{"640", "200", 640, nullptr},
                                           SizeCase{"１０２４", "　７６８", 1024, nullptr},
                                           SizeCase{"16", "8192", 16, nullptr},
                                           SizeCase{"15", "480", 0, kSideRefusal},
                                           SizeCase{"640", "8193", 0, kSideRefusal},
                                           SizeCase{"100.5", "480", 0, kSideRefusal},
                                           SizeCase{"-640", "480", 0, kSideRefusal},
                                           SizeCase{"640", "1e400", 0, kSideRefusal},
                                           SizeCase{"6４0ｘ", "480", 0, "数字を入力してください。"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });
