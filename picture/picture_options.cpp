#include "picture/picture_options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "curve/tube_scale.h"

namespace {

// Turns beyond a hundred full circles are taken as a typing mistake.
constexpr double kMaxTurnDegrees = 36000.0;

// The whole of `text` as a finite number (no spaces, no trailing text).
bool WholeNumber(const std::string& text, double& out)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool WholeCount(const std::string& text, int& out)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end)
        return false;
    out = value;
    return true;
}

bool HexByte(const std::string& text, std::size_t at, uint8_t& out)
{
    unsigned value = 0;
    const auto [stop, status] = std::from_chars(text.data() + at, text.data() + at + 2, value, 16);
    if (status != std::errc() || stop != text.data() + at + 2)
        return false;
    out = static_cast<uint8_t>(value);
    return true;
}

}  // namespace

void AddPictureOptions(CLI::App& app, PictureOptionText& text, PictureScaleOption scale)
{
    app.add_option("--size", text.size, "picture size in pixels, W or WxH (16 ... 8192; default 480)")
        ->type_name("W[xH]");
    app.add_option("--colour", text.colour, "tube colour: white, pink or cyan (default white)")->type_name("C");
    if (scale == PictureScaleOption::Add)
        app.add_option("--scale", text.scale, "display thickness factor of the tube (default 1)")->type_name("S");
    app.add_flag("--fit", text.fit, "zoom so that the knot fills the picture");
    app.add_option("--turn", text.turn, "turn X,Y degrees about the eye x and y axes, as a left drag does")
        ->type_name("X,Y");
    app.add_option("--background", text.background, "background: black, white or RRGGBB (default black)")
        ->type_name("B");
}

bool ParsePictureSize(const std::string& text, int& width, int& height, std::string& error)
{
    const std::size_t cross = text.find('x');
    int w = 0, h = 0;
    const bool read = cross == std::string::npos
                          ? WholeCount(text, w) && WholeCount(text, h)
                          : WholeCount(text.substr(0, cross), w) && WholeCount(text.substr(cross + 1), h);
    if (!read || w < vek::kMinPictureSide || h < vek::kMinPictureSide || w > vek::kMaxPictureSide ||
        h > vek::kMaxPictureSide) {
        error = "--size: expected W or WxH, whole numbers of pixels from " + std::to_string(vek::kMinPictureSide) +
                " to " + std::to_string(vek::kMaxPictureSide) + ", not \"" + text + "\"";
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool ParseTubeColourName(const std::string& text, ColorRef& out, std::string& error)
{
    if (text == "white")
        out = vek::kColorWhite;
    else if (text == "pink")
        out = vek::kColorPink;
    else if (text == "cyan")
        out = vek::kColorCyan;
    else {
        error = "--colour: expected white, pink or cyan, not \"" + text + "\"";
        return false;
    }
    return true;
}

bool ParseTubeScale(const std::string& text, double& out, std::string& error)
{
    double value = 0.0;
    if (!WholeNumber(text, value) || !vek::TubeScaleInRange(value)) {
        char bound[32];
        std::snprintf(bound, sizeof bound, "%.17g", vek::kMaxTubeScale);
        error = std::string("--scale: expected a number from -") + bound + " to " + bound + ", not \"" + text + "\"";
        return false;
    }
    out = value;
    return true;
}

bool ParseTurn(const std::string& text, double& degreesX, double& degreesY, std::string& error)
{
    const std::size_t comma = text.find(',');
    double x = 0.0, y = 0.0;
    if (comma == std::string::npos || !WholeNumber(text.substr(0, comma), x) ||
        !WholeNumber(text.substr(comma + 1), y) || std::fabs(x) > kMaxTurnDegrees ||
        std::fabs(y) > kMaxTurnDegrees) {
        error = "--turn: expected X,Y in degrees (each -36000 ... 36000), not \"" + text + "\"";
        return false;
    }
    degreesX = x;
    degreesY = y;
    return true;
}

bool ParseBackground(const std::string& text, std::array<uint8_t, 3>& out, std::string& error)
{
    if (text == "black") {
        out = {0, 0, 0};
        return true;
    }
    if (text == "white") {
        out = {255, 255, 255};
        return true;
    }
    const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    std::array<uint8_t, 3> colour{};
    if (hex.size() == 6 && HexByte(hex, 0, colour[0]) && HexByte(hex, 2, colour[1]) && HexByte(hex, 4, colour[2])) {
        out = colour;
        return true;
    }
    error = "--background: expected black, white or RRGGBB in hexadecimal, not \"" + text + "\"";
    return false;
}

bool ParsePictureOptions(const PictureOptionText& text, TubePictureOptions& options, std::string& error)
{
    TubePictureOptions parsed = options;
    if (!text.size.empty() && !ParsePictureSize(text.size, parsed.width, parsed.height, error))
        return false;
    if (!text.colour.empty() && !ParseTubeColourName(text.colour, parsed.colour, error))
        return false;
    if (!text.scale.empty() && !ParseTubeScale(text.scale, parsed.tubeScale, error))
        return false;
    if (!text.turn.empty() && !ParseTurn(text.turn, parsed.turnX, parsed.turnY, error))
        return false;
    if (!text.background.empty() && !ParseBackground(text.background, parsed.background, error))
        return false;
    parsed.fit = parsed.fit || text.fit;
    options = parsed;
    return true;
}
