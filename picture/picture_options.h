// The picture options shared by vek-tube-picture and vek-relax --frames:
// --size W[xH], --colour white|pink|cyan, --scale S, --fit, --turn X,Y and
// --background, taken as text by the option parser and checked here.
#pragma once

#include <array>
#include <string>

#include "render/tube_picture_options.h"

namespace CLI {
class App;
}

// The option values as typed; empty means "not given".
struct PictureOptionText {
    std::string size;
    std::string colour;
    std::string scale;
    std::string turn;
    std::string background;
    bool fit = false;
};

// Whether AddPictureOptions adds --scale: vek-relax has one of its own,
// which sets both its mesh and its pictures.
enum class PictureScaleOption { Add, Leave };

// Adds the six options (five with Leave) to `app`, storing what is typed
// in `text`.
void AddPictureOptions(CLI::App& app, PictureOptionText& text,
                       PictureScaleOption scale = PictureScaleOption::Add);

// The names of the options AddPictureOptions adds (--scale included).
inline constexpr std::array<const char*, 6> kPictureOptionNames = {"--size", "--colour", "--scale",
                                                                   "--fit",  "--turn",   "--background"};

// Each parser: true and the value for a valid text, false with a one-line
// `error` (naming the option) otherwise; `out` is untouched then.
// "W" (a square) or "WxH", whole numbers 16 ... 8192.
bool ParsePictureSize(const std::string& text, int& width, int& height, std::string& error);
// The three colours of the colour dialog: white, pink, cyan.
bool ParseTubeColourName(const std::string& text, ColorRef& out, std::string& error);
// A finite display thickness factor within the dialog's bounds.
bool ParseTubeScale(const std::string& text, double& out, std::string& error);
// "X,Y": two finite numbers of degrees, each within -36000 ... 36000.
bool ParseTurn(const std::string& text, double& degreesX, double& degreesY, std::string& error);
// black, white, or a colour written RRGGBB / #RRGGBB in hexadecimal.
bool ParseBackground(const std::string& text, std::array<uint8_t, 3>& out, std::string& error);

// All of `text` into `options` (options not given keep their value).
bool ParsePictureOptions(const PictureOptionText& text, TubePictureOptions& options, std::string& error);
