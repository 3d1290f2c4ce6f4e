#include "io/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string ErrorText(const char* what, const std::string& path, int err)
{
    return std::string(what) + " \"" + path + "\": " + std::strerror(err);
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error)
{
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = ErrorText("cannot open", path, errno);
        return false;
    }
    std::string read;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        read.append(buffer, got);
    if (std::ferror(file.get())) {
        // A directory opens on some systems and fails only here.
        error = ErrorText("cannot read", path, errno != 0 ? errno : EIO);
        return false;
    }
    bytes = std::move(read);
    return true;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error)
{
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = ErrorText("cannot create", path, errno);
        return false;
    }
    int err = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        err = errno != 0 ? errno : EIO;
    if (err == 0 && std::fflush(file) != 0)
        err = errno != 0 ? errno : EIO;
    // On some file systems a full disk is first reported by the close.
    if (std::fclose(file) != 0 && err == 0)
        err = errno != 0 ? errno : EIO;
    if (err != 0) {
        error = ErrorText("cannot write", path, err);
        return false;
    }
    return true;
}
