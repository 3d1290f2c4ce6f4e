// The command line of vek-tube-picture:
//   POINTS OUT.png|OUT.ppm [--size W[xH]] [--colour C] [--scale S] [--fit]
//   [--turn X,Y] [--background B] | --help
#pragma once

#include <string>
#include <vector>

#include "render/tube_picture_options.h"

struct TubePictureArguments {
    std::string input;   // the position data or VECT file
    std::string output;  // the picture, .png or .ppm
    TubePictureOptions options;
};

enum class TubePictureParse {
    Run,   // the arguments are good
    Help,  // --help: print `usage` and stop
    Bad,   // `error` says what is wrong (exit status 2)
};

// Parses the arguments after the program name into `arguments`: the two
// names, then the picture options (ParsePictureOptions), and OUT must end
// in .png or .ppm. `usage` gets the help text for Help, `error` a one-line
// message for Bad.
TubePictureParse ParseTubePictureArguments(const std::vector<std::string>& args, TubePictureArguments& arguments,
                                           std::string& usage, std::string& error);
