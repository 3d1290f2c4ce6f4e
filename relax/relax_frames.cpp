#include "relax/relax_frames.h"

#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "io/picture_file.h"

namespace vek {

namespace {

namespace fs = std::filesystem;

// A name FrameName gives: five or more digits, then ".png".
bool IsFrameName(const std::string& name)
{
    const std::string suffix = ".png";
    if (name.size() < 5 + suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (std::size_t k = 0; k + suffix.size() < name.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(name[k])))
            return false;
    return true;
}

// The folder exists (made now if needed) and holds no frames; else `error`.
bool PrepareFolder(const std::string& folder, std::string& error)
{
    const std::string quoted = "--frames \"" + folder + "\"";
    std::error_code code;
    const fs::file_status status = fs::status(folder, code);
    if (!fs::exists(status)) {
        if (!fs::create_directory(folder, code)) {
            error = quoted + ": cannot make the folder (its parent folder must exist): " +
                    (code ? code.message() : "it is in the way");
            return false;
        }
        return true;
    }
    if (!fs::is_directory(status)) {
        error = quoted + " is a file, not a folder";
        return false;
    }
    fs::directory_iterator entry(folder, code);
    for (; !code && entry != fs::directory_iterator(); entry.increment(code))
        if (IsFrameName(entry->path().filename().string())) {
            error = quoted + " holds frames of an earlier run (" + entry->path().filename().string() +
                    "); empty it or name another folder";
            return false;
        }
    if (code) {
        error = quoted + ": cannot read the folder: " + code.message();
        return false;
    }
    return true;
}

}  // namespace

std::string FrameName(const std::string& folder, long long index)
{
    char name[32];
    std::snprintf(name, sizeof name, "%05lld.png", index);
    return (fs::path(folder) / name).string();
}

RelaxFrames::RelaxFrames() = default;

RelaxFrames::~RelaxFrames() = default;

bool RelaxFrames::Start(const std::string& folder, const TubePictureOptions& options, const CDoubleArray& x,
                        const CDoubleArray& y, const CDoubleArray& z, std::string& error)
{
    if (!PrepareFolder(folder, error))
        return false;
    auto painter = std::make_unique<TubePainter>(options);
    if (!painter->IsOK()) {
        error = "--frames: " + painter->Error();
        return false;
    }
    m_folder = folder;
    m_view = painter->ViewFor(x, y, z);
    m_painter = std::move(painter);
    m_next = 0;
    if (Write(x, y, z, error))
        return true;
    m_painter.reset();
    return false;
}

bool RelaxFrames::Write(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, std::string& error)
{
    if (!m_painter) {
        error = "--frames: no folder to write the frames to";
        return false;
    }
    const std::string name = FrameName(m_folder, m_next);
    RgbPicture picture;
    try {
        if (!m_painter->Paint(x, y, z, m_view, picture, error))
            return false;
    } catch (const std::exception& e) {
        error = "cannot draw frame " + name + ": " + e.what();
        return false;
    }
    if (!WritePictureFile(name, picture.rgb.data(), picture.width, picture.height, error)) {
        std::error_code ignored;
        fs::remove(name, ignored);
        error = "frame " + std::to_string(m_next) + ": " + error;
        return false;
    }
    ++m_next;
    return true;
}

}  // namespace vek
