// vek-tube-picture: draws the tube of a position data file (or VECT file)
// into a PNG or PPM picture with the desktop view's own OpenGL drawing, in
// an offscreen context, so it needs no display.
//
//   vek-tube-picture POINTS OUT.png|OUT.ppm [--size W[xH]] [--colour C]
//                    [--scale S] [--fit] [--turn X,Y] [--background B]
#include <CLI/CLI.hpp>

#include <cstdio>
#include <array>
#include <exception>
#include <filesystem>
#include <system_error>
#include <new>
#include <vector>
#include <string>

#include "io/curve_file.h"
#include "io/picture_file.h"
#include "render/tube_picture.h"
#include "tools/picture_options.h"

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

int Run(int argc, char** argv, std::string& stage)
{
    CLI::App app{"Draws the tube of a position data file (or a VECT file) into a PNG or PPM picture, "
                 "lit and coloured as the desktop view shows it, without a display.",
                 "vek-tube-picture"};
    std::string input, output;
    PictureOptionText text;
    app.add_option("POINTS", input, "position data file (x y z per line) or VECT file (.vect)")
        ->required()
        ->type_name("FILE");
    app.add_option("OUT", output, "picture to write: .png or .ppm")->required()->type_name("FILE");
    AddPictureOptions(app, text);
    app.footer("Exit status: 0 done, 1 the input cannot be read or the picture not written, 2 bad options.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(e);
        return Fail(2, e.what());
    }

    TubePictureOptions options;
    std::string error;
    if (!ParsePictureOptions(text, options, error))
        return Fail(2, error);
    if (PictureFormatOfPath(output) == PictureFormat::Unknown)
        return Fail(2, "OUT: a picture file name must end in .png or .ppm, not \"" + output + "\"");

    std::error_code sizeError;
    const auto bytes = std::filesystem::file_size(input, sizeError);
    stage = "reading \"" + input + "\"" + (sizeError ? std::string() : " (" + std::to_string(bytes) + " bytes)");
    CDoubleArray x, y, z;
    std::vector<std::string> notes;
    if (!ReadCurveFile(input, x, y, z, error, &notes))
        return Fail(1, error);
    for (const std::string& note : notes)
        std::fprintf(stderr, "vek-tube-picture: %s\n", note.c_str());

    stage = "drawing the tube of " + std::to_string(x.GetSize()) + " points into a picture of " +
            std::to_string(options.width) + " x " + std::to_string(options.height) + " pixels";
    RgbPicture picture;
    try {
        if (!RenderTubePicture(x, y, z, options, picture, error))
            return Fail(1, error);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        return Fail(1, std::string("cannot draw the tube: ") + e.what());
    }
    if (ShowsOnlyBackground(picture, options.background))
        return Fail(1, "nothing of the tube lies in the view, the picture would show only the background; "
                       "give --fit (or a smaller --scale) to bring the tube into the picture");
    stage = "encoding the picture of " + std::to_string(options.width) + " x " + std::to_string(options.height) +
            " pixels";
    if (!WritePictureFile(output, picture.rgb.data(), picture.width, picture.height, error))
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
