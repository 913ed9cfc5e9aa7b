// CRC32 and MD5 of a file's bytes (the "dos" commands CRC32 and MD5).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

class FileNamespace;

// The zlib CRC-32 of the file, as CRC32Str gives it for a string. An empty name is
// ERR_WRONGUSAGE, a file that cannot be read ERR_READFILE.
ErrorCode FileCrc32(std::string_view name, uint32_t& crc);
ErrorCode FileCrc32(std::string_view name, uint32_t& crc, const FileNamespace& names);

// The MD5 digest of the file as 32 lower-case hexadecimal digits.
ErrorCode FileMd5(std::string_view name, std::string& digest);
ErrorCode FileMd5(std::string_view name, std::string& digest, const FileNamespace& names);

}  // namespace tembrovia
