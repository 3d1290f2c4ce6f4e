#include "relax/relax_frames.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
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

// The folder exists (made now if needed), is claimed by this run (its lock
// file made here, `lock` set to it) and holds no frames; else `error`.
bool PrepareFolder(const std::string& folder, std::string& lock, std::string& error)
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
    } else if (!fs::is_directory(status)) {
        error = quoted + " is a file, not a folder";
        return false;
    }
    // Made only if it is not there: of two runs into one folder, the second
    // finds it and is refused, before either has looked for frames.
    const std::string claim = (fs::path(folder) / kFramesLockName).string();
    const int fd = open(claim.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = errno == EEXIST ? quoted + " is in use by another run (it holds " + kFramesLockName +
                                      "; if no run writes there any more, remove that file)"
                                : quoted + ": cannot claim the folder: " + std::strerror(errno);
        return false;
    }
    close(fd);
    lock = claim;
    fs::directory_iterator entry(folder, code);
    for (; !code && entry != fs::directory_iterator(); entry.increment(code))
        if (IsFrameName(entry->path().filename().string())) {
            error = quoted + " holds frames of an earlier run (" + entry->path().filename().string() +
                    "); empty it or name another folder";
            break;
        }
    if (code)
        error = quoted + ": cannot read the folder: " + code.message();
    if (!error.empty()) {
        fs::remove(lock, code);
        lock.clear();
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

RelaxFrames::~RelaxFrames()
{
    m_lockOnSignal.reset();
    if (!m_lock.empty()) {
        std::error_code ignored;
        fs::remove(m_lock, ignored);
    }
}

bool RelaxFrames::Start(const std::string& folder, const TubePictureOptions& options, const CDoubleArray& x,
                        const CDoubleArray& y, const CDoubleArray& z, std::string& error)
{
    if (!PrepareFolder(folder, m_lock, error))
        return false;
    m_lockOnSignal = std::make_unique<RemoveOnSignal>(m_lock);
    std::unique_ptr<FramePainter> painter = LoadFramePainter(options, error);
    if (!painter) {
        error = "--frames: " + error;
        return false;
    }
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
