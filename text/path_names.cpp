#include "text/path_names.h"

namespace vek {

std::string_view PathFileName(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view PathExtension(std::string_view path)
{
    const std::string_view name = PathFileName(path);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool HasPathExtension(std::string_view path, std::string_view lowerExtension)
{
    const std::string_view extension = PathExtension(path);
    if (extension.size() != lowerExtension.size())
        return false;
    for (std::size_t k = 0; k < extension.size(); ++k) {
        const char c = extension[k];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lowerExtension[k])
            return false;
    }
    return true;
}

}  // namespace vek
