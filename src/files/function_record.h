// Stored functions: "VXF0" (binary) or "VXF1" (text), the payload size, the payload.
//   binary: size as a big-endian 32-bit number, then the chunk;
//   text:   size as 8 lower-case hexadecimal digits, then the chunk in Base64 lines of 72
//           characters separated by CR LF (the size counts the line breaks).
// The same size-and-payload form, without the magic, stores functions inside tables.
#pragma once

#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

class FileHandle;

enum class FunctionForm { Binary, Text };

inline constexpr std::string_view kFunctionMagicBinary = "VXF0";
inline constexpr std::string_view kFunctionMagicText = "VXF1";

// The size field and payload of a chunk (no magic).
std::string EncodeFunctionPayload(std::string_view chunk, FunctionForm form);

// WriteFunction: ERR_READONLY on a read-only handle, ERR_WRITE on a short write (what was
// written stays, position and length follow it). A chunk above 4 GiB is ERR_WRONGUSAGE.
ErrorCode WriteFunctionRecord(FileHandle& handle, std::string_view chunk, FunctionForm form);

// ReadFunction: ERR_WRITEONLY, ERR_READRANGE at the end of the file or when the record's
// size passes it (checked before anything is allocated), ERR_READFUNC for another magic,
// ERR_BADBASE64 for broken text. The chunk still has to be loaded by the VM.
ErrorCode ReadFunctionRecord(FileHandle& handle, std::string& chunk);

// Reads the size field and payload in the given form (the table reader's tag 5).
ErrorCode ReadFunctionPayload(FileHandle& handle, FunctionForm form, std::string& chunk);

}  // namespace tembrovia
