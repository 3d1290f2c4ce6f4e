// vek-tube-picture: draws the tube of a position data file (or VECT file)
// into a PNG or PPM picture with the desktop view's own OpenGL drawing, in
// an offscreen context, so it needs no display.
//
//   vek-tube-picture POINTS OUT.png|OUT.ppm [--size W[xH]] [--colour C]
//                    [--scale S] [--fit] [--turn X,Y] [--background B]
#include <cstdio>
#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>
#include <string>
#include <vector>

#include "io/curve_file.h"
#include "io/picture_file.h"
#include "picture/tube_picture_arguments.h"
#include "render/tube_picture.h"

namespace {

int Fail(int code, const std::string& message)
{
    std::fprintf(stderr, "vek-tube-picture: %s\n", message.c_str());
    return code;
}

// Whether every pixel is the background colour: the view shows nothing of
// the tube.
bool ShowsOnlyBackground(const RgbPicture& picture, const std::array<uint8_t, 3>& background)
{
    for (size_t k = 0; k + 2 < picture.rgb.size(); k += 3)
        if (picture.rgb[k] != background[0] || picture.rgb[k + 1] != background[1] ||
            picture.rgb[k + 2] != background[2])
            return false;
    return true;
}

// The program; `stage` says what is being built, for a message should
// storage run out.
int Run(int argc, char** argv, std::string& stage)
{
    TubePictureArguments arguments;
    std::string usage, error;
    const TubePictureParse parse =
        ParseTubePictureArguments(std::vector<std::string>(argv + 1, argv + argc), arguments, usage, error);
    if (parse == TubePictureParse::Help) {
        std::fputs(usage.c_str(), stdout);
        return 0;
    }
    if (parse == TubePictureParse::Bad)
        return Fail(2, error);

    CDoubleArray x, y, z;
    std::error_code sizeError;
    const auto bytes = std::filesystem::file_size(arguments.input, sizeError);
    stage = "reading \"" + arguments.input + "\"" +
            (sizeError ? std::string() : " (" + std::to_string(bytes) + " bytes)");
    std::vector<std::string> notes;
    if (!ReadCurveFile(arguments.input, x, y, z, error, &notes))
        return Fail(1, error);
    for (const std::string& note : notes)
        std::fprintf(stderr, "vek-tube-picture: %s\n", note.c_str());

    const TubePictureOptions& options = arguments.options;
    const std::string size = std::to_string(options.width) + " x " + std::to_string(options.height) + " pixels";
    stage = "drawing the tube of " + std::to_string(x.GetSize()) + " points into a picture of " + size;
    RgbPicture picture;
    try {
        if (!RenderTubePicture(x, y, z, arguments.options, picture, error))
            return Fail(1, error);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        return Fail(1, std::string("cannot draw the tube: ") + e.what());
    }
    if (ShowsOnlyBackground(picture, options.background))
        return Fail(1, "nothing of the tube lies in the view, the picture would show only the background; "
                       "give --fit (or a smaller --scale) to bring the tube into the picture");
    stage = "encoding the picture of " + size;
    if (!WritePictureFile(arguments.output, picture.rgb.data(), picture.width, picture.height, error))
        return Fail(1, error);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Storage that runs out (a huge file, a huge picture) ends with a
    // message and status 1, not an abort.
    std::string stage = "reading the options";
    try {
        return Run(argc, argv, stage);
    } catch (const std::bad_alloc&) {
        return Fail(1, "out of memory while " + stage);
    }
}
