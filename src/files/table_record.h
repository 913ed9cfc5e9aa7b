// Stored tables: "VXT0", the entries, a zero byte. An entry is a key and a value, each a tag
// byte and a payload: 2 number (big-endian double), 3 string (big-endian 32-bit length and
// the bytes), 4 nested table (its entries and a zero byte; values only), 5 function (size
// and chunk as in the function record, without the magic; values only). A key tag 0 ends
// the table.
#pragma once

#include "common/error_codes.h"
#include "files/function_record.h"
#include "files/serial_value.h"

namespace tembrovia {

class FileHandle;

inline constexpr std::string_view kTableMagic = "VXT0";

// WriteTable. ERR_READONLY on a read-only handle. The whole record is checked before a byte
// is written, so a refused table leaves the file as it was: keys other than numbers and
// strings, boolean and other unstorable values give ERR_WRONGUSAGE, nesting deeper than
// kMaxSerialDepth ERR_STACK. Userdata values are stored as the number 0; functions in
// `functionForm`. ERR_WRITE on a short write.
ErrorCode WriteTableRecord(FileHandle& handle, const SerialTable& table, FunctionForm functionForm);

// The record's bytes, or the refusal WriteTableRecord would give.
ErrorCode EncodeTableRecord(const SerialTable& table, FunctionForm functionForm, std::string& record);

// ReadTable. ERR_WRITEONLY; ERR_READRANGE at the end of the file and for every read that
// would pass it (sizes are checked before allocating); ERR_READTABLE for another magic or
// an unknown tag; ERR_STACK for nesting deeper than kMaxSerialDepth. String keys of any
// length are accepted (WriteTable writes them). Functions come in the binary form, or in the
// text form that WriteTable writes when asked: a size field of eight lower-case hexadecimal
// digits, which as a binary size would be beyond 800 MB, selects the text form.
ErrorCode ReadTableRecord(FileHandle& handle, SerialTable& table);

}  // namespace tembrovia
