// Whole-file reading and checked writing for the exchange files of
// vek-relax (VECT polylines, tube meshes), with readable errors.
#pragma once

#include <string>
#include <string_view>

// Reads the whole file at `path` into `bytes` (binary, unchanged). Returns
// false with a readable `error` ("cannot open "...": reason") when the file
// cannot be opened or read; `bytes` is then left as it was.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

// Writes `bytes` to `path` (created, or emptied if it exists) in binary
// mode. The write, the flush and the close are all checked: true only when
// every byte has reached the file, false with a readable `error` otherwise
// (the file may then be incomplete).
bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error);
