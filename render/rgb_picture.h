// A picture in memory: what the offscreen drawing gives and the picture
// files take.
#pragma once

#include <cstdint>
#include <vector>

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes per pixel, rows from the top
};
