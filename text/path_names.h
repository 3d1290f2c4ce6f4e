// The parts of a file name that the program looks at: the last component
// of a path and its extension. Paths are split at '/' only.
#pragma once

#include <string_view>

namespace vek {

// The last component of `path`: everything after its last '/'.
std::string_view PathFileName(std::string_view path);

// The extension of PathFileName(path): the text after its last '.', ""
// when it has no '.' or ends in one. A leading dot counts (".obj" -> "obj").
std::string_view PathExtension(std::string_view path);

// Whether PathExtension(path) is `lowerExtension`, ASCII letters of the
// path compared without case ("T.STL" has "stl").
bool HasPathExtension(std::string_view path, std::string_view lowerExtension);

}  // namespace vek
