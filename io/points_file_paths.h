// The default extension of the position data file dialogs, added to a name
// typed without one. Paths are UTF-8.
#pragma once

#include <string>

// True when the last component of `path` has an extension ("a.txt", not
// "a", ".profile" or "dir.d/a").
bool HasExtension(const std::string& path);

// The path to save to: `path` with "." + `extension` added when its name
// has no extension.
std::string SaveDialogPath(const std::string& path, const std::string& extension);

// The extension of the `index`th file type of a dialog filter
// ("STL(*.stl)|*.stl|OBJ(*.obj)|*.obj||", 1 -> "obj"): the pattern's text
// after its last "*.", or `fallback` when there is no such type or its
// pattern names no single extension ("*", "*.stl;*.STL").
std::string FilterExtension(const std::string& filter, int index, const std::string& fallback);

// The path to load from: `path` as chosen when that file exists or it has an
// extension; otherwise the name with "." + `extension` added, if that exists.
std::string OpenDialogPath(const std::string& path, const std::string& extension);
