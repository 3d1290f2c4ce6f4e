#include "picture_compare.h"

#include <wx/image.h>
#include <wx/log.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

std::vector<uint8_t> ReadPpm(const std::string& path, int& width, int& height)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    width = height = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    if (!in || magic != "P6" || maxval != 255 || width <= 0 || height <= 0)
        return {};
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    if (!in)
        return {};
    return rgb;
}

std::vector<uint8_t> ReadPng(const std::string& path, int& width, int& height)
{
    wxImage image;
    width = height = 0;
    // A missing or broken file is an empty answer, not a log window.
    wxLogNull quiet;
    if (!image.LoadFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG))
        return {};
    width = image.GetWidth();
    height = image.GetHeight();
    const unsigned char* data = image.GetData();
    return std::vector<uint8_t>(data, data + static_cast<size_t>(width) * height * 3);
}

std::vector<uint8_t> FlipRows(const std::vector<uint8_t>& rgb, int width, int height)
{
    std::vector<uint8_t> flipped(rgb.size());
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy_n(rgb.data() + static_cast<size_t>(y) * row, row,
                    flipped.data() + static_cast<size_t>(height - 1 - y) * row);
    return flipped;
}

PictureDifference ComparePictures(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                                  int height, int tolerance)
{
    PictureDifference d;
    const size_t pixels = static_cast<size_t>(width) * height;
    if (a.size() != pixels * 3 || b.size() != pixels * 3) {
        d.differing = pixels;
        d.largest = 255;
        return d;
    }
    for (size_t p = 0; p < pixels; ++p) {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(a[p * 3 + c] - b[p * 3 + c]));
        d.largest = std::max(d.largest, worst);
        d.differing += worst > tolerance;
        d.lit += a[p * 3] || a[p * 3 + 1] || a[p * 3 + 2];
    }
    return d;
}

bool SameRendering(const PictureDifference& d, int width, int height)
{
    return d.differing <= static_cast<size_t>(width) * height / 1000;
}
