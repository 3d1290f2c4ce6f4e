// The frames of a vek-relax run (--frames DIR): the folder rules, whole
// PNGs of the asked size drawn as vek-tube-picture draws, one camera for
// the whole movie, and a failed frame that stops the run.
#include "relax/relax_frames.h"
#include "render/tube_picture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "io/file_bytes.h"
#include "relax/relax_records.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// The picture of a PNG file, decoded by libpng; empty when it is no PNG.
RgbPicture ReadPng(const fs::path& path)
{
    RgbPicture picture;
    std::string bytes, error;
    if (!ReadFileBytes(path.string(), bytes, error))
        return picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(rgb);
    return picture;
}

size_t TubePixels(const RgbPicture& picture)
{
    size_t count = 0;
    for (size_t p = 0; p + 2 < picture.rgb.size(); p += 3)
        count += picture.rgb[p] != 0 || picture.rgb[p + 1] != 0 || picture.rgb[p + 2] != 0;
    return count;
}

void Shrink(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double factor)
{
    for (int i = 0; i < x.GetSize(); ++i) {
        x[i] *= factor;
        y[i] *= factor;
        z[i] *= factor;
    }
}

vek::RelaxOptions FrameOptions(const fs::path& folder)
{
    vek::RelaxOptions options;
    options.frames = folder.string();
    options.picture.width = 64;
    options.picture.height = 48;
    options.picture.fit = true;
    return options;
}

}  // namespace

TEST(RelaxFrames, AreWholePngsOfTheAskedSizeDrawnAsTubePictureDraws)
{
    const fs::path folder = FreshTempFolder("relax_frames_run") / "frames";  // made by the run
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    const vek::RelaxOptions options = FrameOptions(folder);
    RgbPicture expected;
    std::string error;
    ASSERT_TRUE(RenderTubePicture(x, y, z, options.picture, expected, error)) << error;

    vek::RelaxRecords records(x, y, z, vek::kThickness);
    ASSERT_TRUE(records.Start(options, error)) << error;
    EXPECT_TRUE(records.AfterBlock(30));
    Shrink(x, y, z, 0.5);  // the camera stays where the curve as read put it
    EXPECT_TRUE(records.AfterBlock(60));
    EXPECT_TRUE(records.Finish());

    std::vector<RgbPicture> frames;
    for (int k = 0; k < 3; ++k) {
        frames.push_back(ReadPng(folder / vek::FrameName("", k)));
        ASSERT_EQ(frames[k].width, 64) << k;
        ASSERT_EQ(frames[k].height, 48) << k;
    }
    EXPECT_FALSE(fs::exists(folder / "00003.png"));
    EXPECT_EQ(frames[0].rgb, expected.rgb);
    EXPECT_EQ(frames[1].rgb, expected.rgb);
    // Refitted, the half-sized knot would fill the frame as before.
    EXPECT_GT(TubePixels(frames[2]), 0u);
    EXPECT_LT(TubePixels(frames[2]), TubePixels(frames[0]) * 3 / 4);
}

TEST(RelaxFrames, AreNamedWithFiveDigitsAtLeast)
{
    EXPECT_EQ(vek::FrameName("out", 0), "out/00000.png");
    EXPECT_EQ(vek::FrameName("out/", 42), "out/00042.png");
    EXPECT_EQ(vek::FrameName("out", 123456), "out/123456.png");
}

TEST(RelaxFrames, RefuseAFolderTheyCannotUseBeforeTheRun)
{
    const fs::path folder = FreshTempFolder("relax_frames_refused");
    std::ofstream(folder / "a-file") << "x";
    fs::create_directory(folder / "old");
    std::ofstream(folder / "old" / "00007.png") << "x";
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    struct Case {
        fs::path folder;
        const char* says;
    };
    for (const Case& c : {Case{folder / "missing" / "frames", "parent folder must exist"},
                          Case{folder / "a-file", "not a folder"}, Case{folder / "a-file" / "frames", "cannot make"},
                          Case{folder / "old", "earlier run (00007.png)"}}) {
        vek::RelaxRecords records(x, y, z, vek::kThickness);
        std::string error;
        EXPECT_FALSE(records.Start(FrameOptions(c.folder), error)) << c.folder;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_NE(error.find("--frames"), std::string::npos) << error;
    }
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_FALSE(fs::exists(folder / "old" / "00000.png"));
}

TEST(RelaxFrames, TakeAFolderThatHoldsOtherFiles)
{
    const fs::path folder = FreshTempFolder("relax_frames_others");
    std::ofstream(folder / "notes.txt") << "x";
    std::ofstream(folder / "0001.png") << "x";  // four digits: not a frame name
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    vek::RelaxRecords records(x, y, z, vek::kThickness);
    std::string error;
    ASSERT_TRUE(records.Start(FrameOptions(folder), error)) << error;
    EXPECT_EQ(ReadPng(folder / "00000.png").width, 64);
}

TEST(RelaxFrames, AFrameThatCannotBeWrittenStopsTheRun)
{
    const fs::path folder = FreshTempFolder("relax_frames_gone") / "frames";
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    vek::RelaxRecords records(x, y, z, vek::kThickness);
    std::string error;
    ASSERT_TRUE(records.Start(FrameOptions(folder), error)) << error;
    ASSERT_TRUE(records.AfterBlock(30));
    EXPECT_FALSE(records.Stopped());
    // The folder taken away under the run, a file in its place.
    fs::remove_all(folder);
    std::ofstream(folder) << "x";
    EXPECT_FALSE(records.AfterBlock(60));
    EXPECT_TRUE(records.Stopped());
    EXPECT_FALSE(records.AfterBlock(90));  // and stays stopped
    EXPECT_FALSE(records.Finish());
}

TEST(RelaxFramesArguments, TakeTheFolderAndThePictureOptions)
{
    vek::RelaxOptions options;
    std::string error;
    ASSERT_TRUE(vek::ParseRelaxArguments({"k.txt", "--until-tight", "--output", "o.txt", "--json", "--frames", "f",
                                          "--size", "320x200", "--colour", "cyan", "--scale", "2", "--fit",
                                          "--turn", "30,-10", "--background", "white", "--keep-knot"},
                                         options, error))
        << error;
    EXPECT_EQ(options.frames, "f");
    EXPECT_EQ(options.picture.width, 320);
    EXPECT_EQ(options.picture.height, 200);
    EXPECT_EQ(options.picture.colour, vek::kColorCyan);
    EXPECT_EQ(options.picture.tubeScale, 2.0);
    EXPECT_TRUE(options.picture.fit);
    EXPECT_EQ(options.picture.turnX, 30.0);
    EXPECT_EQ(options.picture.turnY, -10.0);
    EXPECT_EQ(options.picture.background, (std::array<uint8_t, 3>{255, 255, 255}));
    // --scale sets the mesh and the frames alike.
    ASSERT_TRUE(vek::ParseRelaxArguments({"k.txt", "--frames=f", "--mesh", "m.stl", "--scale", "0.5"}, options, error));
    EXPECT_EQ(options.scale, 0.5);
    EXPECT_EQ(options.picture.tubeScale, 0.5);
}

