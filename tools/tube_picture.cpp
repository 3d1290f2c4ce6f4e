// vek-tube-picture: draws the tube of a position data file (or VECT file)
// into a PNG or PPM picture with the desktop view's own OpenGL drawing, in
// an offscreen context, so it needs no display.
//
//   vek-tube-picture POINTS OUT.png|OUT.ppm [--size W[xH]] [--colour C]
//                    [--scale S] [--fit] [--turn X,Y] [--background B]
#include <cstdio>
#include <exception>
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

}  // namespace

int main(int argc, char** argv)
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
    if (!ReadCurveFile(arguments.input, x, y, z, error))
        return Fail(1, error);
    if (x.GetSize() < 2)
        return Fail(1, "\"" + arguments.input + "\" holds fewer than two points: there is no tube to draw");
    RgbPicture picture;
    try {
        if (!RenderTubePicture(x, y, z, arguments.options, picture, error))
            return Fail(1, error);
    } catch (const std::exception& e) {
        return Fail(1, std::string("cannot draw the tube: ") + e.what());
    }
    if (!WritePictureFile(arguments.output, picture.rgb.data(), picture.width, picture.height, error))
        return Fail(1, error);
    return 0;
}
