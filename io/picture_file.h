// Writing a picture file: PNG (through libpng) or binary PPM, chosen by the
// file name's extension.
#pragma once

#include <cstdint>
#include <string>

enum class PictureFormat { Png, Ppm, Unknown };

// The format a file name asks for: ".png" or ".ppm" at its end, in any
// mix of upper and lower case; anything else is Unknown.
PictureFormat PictureFormatOfPath(const std::string& path);

// In:  rgb, width x height pixels of 3 bytes (red, green, blue), rows from
//      the top; the format.
// Out: the bytes of an 8-bit RGB PNG or of a binary PPM ("P6", maxval 255).
//      Returns false with `error` set for a size <= 0, a null rgb, an
//      Unknown format, or when libpng fails.
bool EncodePicture(const uint8_t* rgb, int width, int height, PictureFormat format, std::string& bytes,
                   std::string& error);

// Encodes the picture in the format of `path` and writes it there.
// Returns false with `error` set (a one-line reason) when the name has
// neither extension, encoding fails or the file cannot be written.
bool WritePictureFile(const std::string& path, const uint8_t* rgb, int width, int height, std::string& error);
