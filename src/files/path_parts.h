// Splitting and joining the path strings scripts use. Both "/" and the backslash separate
// components (scripts written on other systems use the backslash); ":" ends a volume or
// assign prefix such as "PROGDIR:".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tembrovia {

// The part after the last separator; without one, the part after the first ":"; else the
// whole path. For a virtual name, its visible name.
std::string_view FilePart(std::string_view path);

// Everything before the file part, cut after the last "/", backslash or ":" (a trailing
// separator stays): "C:/dir/file.txt" gives "C:/dir/", "C:file" gives "C:", "file.txt" "".
// A lone leading "/" is kept, so "/file" gives "/" (an absolute path stays absolute).
// nullopt for a virtual name, which has no directory.
std::optional<std::string_view> PathPart(std::string_view path);

// directory joined with file, inserting "/" unless directory is empty or already ends in a
// separator.
std::string FullPath(std::string_view directory, std::string_view file);

// The host file-system form of a script path: every backslash becomes "/".
std::string HostPath(std::string_view path);

inline bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace tembrovia
