// FileToString and StringToFile: a whole file in one string.
#pragma once

#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

class FileNamespace;

// The file's bytes (names resolved as for reading: linked files, virtual names). ERR_READFILE
// when it cannot be opened, ERR_READ when it ends before its size, ERR_MEM when the size
// cannot be had.
ErrorCode ReadWholeFile(std::string_view name, std::string& bytes);
ErrorCode ReadWholeFile(std::string_view name, std::string& bytes, const FileNamespace& names);

// Creates or truncates the file and writes the bytes (none: an empty file). ERR_WRITEFILE
// when it cannot be created, ERR_WRITE for a short write.
ErrorCode WriteWholeFile(std::string_view name, std::string_view bytes);
ErrorCode WriteWholeFile(std::string_view name, std::string_view bytes, const FileNamespace& names);

}  // namespace tembrovia
