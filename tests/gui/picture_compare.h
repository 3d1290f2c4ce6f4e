// Pictures compared as the picture tests compare them: RGB, 3 bytes a pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads a binary PPM (as vek-tube-picture writes it), rows from the top;
// empty when the file is not one.
std::vector<uint8_t> ReadPpm(const std::string& path, int& width, int& height);

// Reads a PNG file as RGB, rows from the top; empty when it cannot be read.
std::vector<uint8_t> ReadPng(const std::string& path, int& width, int& height);

// The rows in the other order (OpenGL reads them from the bottom).
std::vector<uint8_t> FlipRows(const std::vector<uint8_t>& rgb, int width, int height);

struct PictureDifference {
    size_t differing = 0;  // pixels with a channel apart by more than the tolerance
    int largest = 0;       // largest channel difference seen
    size_t lit = 0;        // pixels not black in the first picture
};

// Two pictures of width x height pixels, rows in the same order.
PictureDifference ComparePictures(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                                  int height, int tolerance);

// Two renderings of the same scene by Mesa's software rasteriser agree
// within a channel difference of 2 (rounding), with at most 0.1 % of the
// pixels beyond it (a depth buffer of other precision or another tiling may
// decide a few edge pixels the other way).
bool SameRendering(const PictureDifference& d, int width, int height);
