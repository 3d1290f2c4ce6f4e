#include "io/points_file_paths.h"

#include <filesystem>
#include <system_error>

#include "text/path_names.h"

bool HasExtension(const std::string& path)
{
    // A leading dot names a hidden file; a trailing dot is no extension.
    const std::size_t extension = vek::PathExtension(path).size();
    return extension > 0 && extension + 1 < vek::PathFileName(path).size();
}

std::string SaveDialogPath(const std::string& path, const std::string& extension)
{
    if (path.empty() || path.back() == '/' || HasExtension(path))
        return path;
    return path + "." + extension;
}

std::string OpenDialogPath(const std::string& path, const std::string& extension)
{
    std::error_code ec;
    if (HasExtension(path) || std::filesystem::exists(std::filesystem::u8path(path), ec))
        return path;
    const std::string withExtension = SaveDialogPath(path, extension);
    return std::filesystem::exists(std::filesystem::u8path(withExtension), ec) ? withExtension : path;
}
