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

// The path to load from: `path` as chosen when that file exists or it has an
// extension; otherwise the name with "." + `extension` added, if that exists.
std::string OpenDialogPath(const std::string& path, const std::string& extension);
