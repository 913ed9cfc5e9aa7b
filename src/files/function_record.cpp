#include "files/function_record.h"

#include <cstdio>

#include "files/base64.h"
#include "files/byte_order.h"
#include "files/file_handle.h"

namespace tembrovia {
namespace {

std::optional<uint32_t> ParseHexSize(const char* digits) {
  uint32_t value = 0;
  for (int i = 0; i < 8; ++i) {
    char c = digits[i];
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::string EncodeFunctionPayload(std::string_view chunk, FunctionForm form) {
  std::string payload;
  if (form == FunctionForm::Binary) {
    uint8_t size[4];
    StoreBE32(size, static_cast<uint32_t>(chunk.size()));
    payload.assign(reinterpret_cast<const char*>(size), 4);
    payload += chunk;
  } else {
    std::string text = EncodeBase64Lines(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size());
    char size[16];
    std::snprintf(size, sizeof size, "%.8lx", static_cast<unsigned long>(text.size()));
    payload = size;
    payload += text;
  }
  return payload;
}

ErrorCode WriteFunctionRecord(FileHandle& handle, std::string_view chunk, FunctionForm form) {
  if (handle.Mode() == OpenMode::Read) return ERR_READONLY;
  if (chunk.size() > 0xFFFFFFFFu / 2) return ERR_WRONGUSAGE;  // the text form's size must fit too
  std::string record(form == FunctionForm::Binary ? kFunctionMagicBinary : kFunctionMagicText);
  record += EncodeFunctionPayload(chunk, form);
  return handle.Write(record.data(), record.size());
}

ErrorCode ReadFunctionPayload(FileHandle& handle, FunctionForm form, std::string& chunk) {
  uint32_t size;
  if (form == FunctionForm::Binary) {
    uint8_t field[4];
    if (ErrorCode error = handle.Read(field, sizeof field)) return error;
    size = LoadBE32(field);
  } else {
    char field[8];
    if (ErrorCode error = handle.Read(field, sizeof field)) return error;
    std::optional<uint32_t> parsed = ParseHexSize(field);
    if (!parsed) return ERR_READFUNC;
    size = *parsed;
  }
  std::string payload;
  if (ErrorCode error = handle.ReadString(size, payload)) return error;
  if (form == FunctionForm::Binary) {
    chunk = std::move(payload);
    return ERR_NONE;
  }
  std::optional<std::vector<uint8_t>> decoded = DecodeBase64(payload);
  if (!decoded) return ERR_BADBASE64;
  chunk.assign(decoded->begin(), decoded->end());
  return ERR_NONE;
}

ErrorCode ReadFunctionRecord(FileHandle& handle, std::string& chunk) {
  if (handle.Mode() == OpenMode::Write) return ERR_WRITEONLY;
  char magic[4];
  if (ErrorCode error = handle.Read(magic, sizeof magic)) return error;
  std::string_view tag(magic, 4);
  if (tag != kFunctionMagicBinary && tag != kFunctionMagicText) return ERR_READFUNC;
  return ReadFunctionPayload(handle, tag == kFunctionMagicBinary ? FunctionForm::Binary : FunctionForm::Text, chunk);
}

}  // namespace tembrovia
