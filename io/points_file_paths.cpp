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

std::string FilterExtension(const std::string& filter, int index, const std::string& fallback)
{
    if (index < 0)
        return fallback;
    // Description and pattern alternate, each ended by '|'.
    std::size_t begin = 0;
    for (int field = 0; field < 2 * index + 1; ++field) {
        begin = filter.find('|', begin);
        if (begin == std::string::npos)
            return fallback;
        ++begin;
    }
    const std::size_t end = filter.find('|', begin);
    const std::string pattern = filter.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0)
        return fallback;
    const std::string extension = pattern.substr(2);
    if (extension.find_first_of("*?;. ") != std::string::npos)
        return fallback;
    return extension;
}

std::string OpenDialogPath(const std::string& path, const std::string& extension)
{
    std::error_code ec;
    if (HasExtension(path) || std::filesystem::exists(std::filesystem::u8path(path), ec))
        return path;
    const std::string withExtension = SaveDialogPath(path, extension);
    return std::filesystem::exists(std::filesystem::u8path(withExtension), ec) ? withExtension : path;
}
