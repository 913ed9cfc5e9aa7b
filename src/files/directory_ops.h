// Directory and name operations of the "dos" library: MakeDirectory, Rename,
// ChangeDirectory, GetCurrentDirectory.
#pragma once

#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

class FileNamespace;

// Creates every missing directory along a host path; ERR_CREATEDIR when one cannot be made
// or a part of the path is a file.
ErrorCode MakeHostDirectories(const std::string& hostPath);
// MakeDirectory: as above for a script name; an empty name is ERR_WRONGUSAGE.
ErrorCode MakeDirectory(std::string_view path);
ErrorCode MakeDirectory(std::string_view path, const FileNamespace& names);

// Rename: within the directory of `path`, only the file part of `newName` counts. Empty or
// virtual names: ERR_WRONGUSAGE; failure: ERR_RENAME.
ErrorCode RenameFile(std::string_view path, std::string_view newName);
ErrorCode RenameFile(std::string_view path, std::string_view newName, const FileNamespace& names);

// ChangeDirectory: false when the directory cannot be entered.
bool ChangeDirectory(std::string_view path);
bool ChangeDirectory(std::string_view path, const FileNamespace& names);
std::string CurrentDirectory();

}  // namespace tembrovia
