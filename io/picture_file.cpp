#include "io/picture_file.h"

#include <png.h>

#include <cstddef>
#include <cstring>

#include "io/file_bytes.h"
#include "text/path_names.h"

namespace {

bool EncodePng(const uint8_t* rgb, int width, int height, std::string& bytes, std::string& error)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const png_int_32 stride = static_cast<png_int_32>(width) * 3;
    // First ask for the size, then write into a buffer of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, rgb, stride, nullptr)) {
        error = std::string("cannot encode the PNG picture: ") + image.message;
        png_image_free(&image);
        return false;
    }
    bytes.assign(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb, stride, nullptr)) {
        error = std::string("cannot encode the PNG picture: ") + image.message;
        png_image_free(&image);
        return false;
    }
    bytes.resize(size);
    return true;
}

}  // namespace

PictureFormat PictureFormatOfPath(const std::string& path)
{
    if (vek::HasPathExtension(path, "png"))
        return PictureFormat::Png;
    if (vek::HasPathExtension(path, "ppm"))
        return PictureFormat::Ppm;
    return PictureFormat::Unknown;
}

bool EncodePicture(const uint8_t* rgb, int width, int height, PictureFormat format, std::string& bytes,
                   std::string& error)
{
    if (!rgb || width <= 0 || height <= 0) {
        error = "the picture has no pixels";
        return false;
    }
    switch (format) {
    case PictureFormat::Png:
        return EncodePng(rgb, width, height, bytes, error);
    case PictureFormat::Ppm:
        bytes = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        bytes.append(reinterpret_cast<const char*>(rgb), static_cast<std::size_t>(width) * height * 3);
        return true;
    case PictureFormat::Unknown:
        break;
    }
    error = "a picture file name must end in .png or .ppm";
    return false;
}

bool WritePictureFile(const std::string& path, const uint8_t* rgb, int width, int height, std::string& error)
{
    std::string bytes;
    if (!EncodePicture(rgb, width, height, PictureFormatOfPath(path), bytes, error))
        return false;
    return WriteFileBytes(path, bytes, error);
}
