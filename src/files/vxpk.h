// VXPK compressed files: "VXPK", four zero bytes, then one zlib stream of the whole file.
// The stream functions are shared with the compressed applet container, which uses another
// magic and starts at an offset (position the input there before calling), e.g.
// DecompressStream(*container, *temporary, std::string_view("VXZ\0", 4)).
#pragma once

#include <cstdint>
#include <string_view>

#include "common/error_codes.h"
#include "files/file_operation.h"

namespace tembrovia {

class FileNamespace;
class FileStream;

inline constexpr std::string_view kVxpkMagic = "VXPK";
inline constexpr size_t kVxpkHeaderSize = 8;
inline constexpr size_t kZlibBlockSize = 16384;

// Writes magic (4 bytes), four zero bytes and the deflated rest of `in` (default level).
// ERR_READ for a failed read, ERR_WRITE for a short write, zlib failures mapped by
// ZlibError.
ErrorCode CompressStream(FileStream& in, FileStream& out, std::string_view magic = kVxpkMagic);
// Reads magic (ERR_PAKFORMAT when it differs), skips four bytes and inflates into `out`
// until the zlib stream ends; input that ends first is ERR_ZLIBDATA.
ErrorCode DecompressStream(FileStream& in, FileStream& out, std::string_view magic = kVxpkMagic);

// zlib status to error code: data and need-dictionary ERR_ZLIBDATA, stream ERR_ZLIBSTREAM,
// errno ERR_ZLIBIO, version ERR_ZLIBVERSION, memory ERR_MEM, other ERR_UNKNOWN.
ErrorCode ZlibError(int status);

// CompressFile / DecompressFile: open source (ERR_READFILE, with its name) and dest
// (ERR_WRITEFILE); a destination that is the source's file (or the host of a window it
// reads) is refused with ERR_WRONGUSAGE before anything is opened for writing. On success
// *destSize holds the size of dest.
FileError CompressFile(std::string_view source, std::string_view dest, int64_t* destSize);
FileError CompressFile(std::string_view source, std::string_view dest, int64_t* destSize,
                       const FileNamespace& names);
FileError DecompressFile(std::string_view source, std::string_view dest, int64_t* destSize);
FileError DecompressFile(std::string_view source, std::string_view dest, int64_t* destSize,
                         const FileNamespace& names);

}  // namespace tembrovia
