#include "picture/tube_picture_arguments.h"

#include <CLI/CLI.hpp>

#include "io/picture_file.h"
#include "picture/picture_options.h"

TubePictureParse ParseTubePictureArguments(const std::vector<std::string>& args, TubePictureArguments& arguments,
                                           std::string& usage, std::string& error)
{
    CLI::App app{"Draws the tube of a position data file (or a VECT file) into a PNG or PPM picture, "
                 "lit and coloured as the desktop view shows it, without a display.",
                 "vek-tube-picture"};
    PictureOptionText text;
    app.add_option("POINTS", arguments.input, "position data file (x y z per line) or VECT file (.vect)")
        ->required()
        ->type_name("FILE");
    app.add_option("OUT", arguments.output, "picture to write: .png or .ppm")->required()->type_name("FILE");
    AddPictureOptions(app, text);
    app.footer("Exit status: 0 done, 1 the input cannot be read or the picture not written, 2 bad options.");
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            usage = app.help();
            return TubePictureParse::Help;
        }
        error = e.what();
        return TubePictureParse::Bad;
    }
    if (!ParsePictureOptions(text, arguments.options, error))
        return TubePictureParse::Bad;
    if (PictureFormatOfPath(arguments.output) == PictureFormat::Unknown) {
        error = "OUT: a picture file name must end in .png or .ppm, not \"" + arguments.output + "\"";
        return TubePictureParse::Bad;
    }
    return TubePictureParse::Run;
}
