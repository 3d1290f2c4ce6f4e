// vek-tube-picture: draws the tube of a position data file (or VECT file)
// into a PNG or PPM picture with the desktop view's own OpenGL drawing, in
// an offscreen context, so it needs no display.
//
//   vek-tube-picture POINTS OUT.png|OUT.ppm [--size W[xH]] [--colour C]
//                    [--scale S] [--fit] [--turn X,Y] [--background B]
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
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

}  // namespace

int main(int argc, char** argv)
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

    CDoubleArray x, y, z;
    if (!ReadCurveFile(input, x, y, z, error))
        return Fail(1, error);
    if (x.GetSize() < 2)
        return Fail(1, "\"" + input + "\" holds fewer than two points: there is no tube to draw");

    RgbPicture picture;
    try {
        if (!RenderTubePicture(x, y, z, options, picture, error))
            return Fail(1, error);
    } catch (const std::exception& e) {
        return Fail(1, std::string("cannot draw the tube: ") + e.what());
    }
    if (!WritePictureFile(output, picture.rgb.data(), picture.width, picture.height, error))
        return Fail(1, error);
    return 0;
}
