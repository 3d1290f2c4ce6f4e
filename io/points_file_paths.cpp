#include "io/points_file_paths.h"

#include <filesystem>
#include <system_error>

bool HasExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    // A leading dot names a hidden file; a trailing dot is no extension.
    return dot != std::string::npos && dot > 0 && dot + 1 < name.size();
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
