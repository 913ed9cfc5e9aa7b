#include "files/table_record.h"

#include "files/byte_order.h"
#include "files/file_handle.h"

namespace tembrovia {
namespace {

enum Tag : uint8_t { kTagEnd = 0, kTagNumber = 2, kTagString = 3, kTagTable = 4, kTagFunction = 5 };

void AppendNumber(std::string& out, double value) {
  uint8_t bytes[9] = {kTagNumber};
  StoreBEDouble(bytes + 1, value);
  out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

ErrorCode AppendString(std::string& out, const std::string& text) {
  if (text.size() > 0xFFFFFFFFu) return ERR_WRONGUSAGE;
  uint8_t header[5] = {kTagString};
  StoreBE32(header + 1, static_cast<uint32_t>(text.size()));
  out.append(reinterpret_cast<const char*>(header), sizeof header);
  out += text;
  return ERR_NONE;
}

ErrorCode AppendEntries(std::string& out, const SerialTable& table, FunctionForm form, int depth) {
  if (depth >= kMaxSerialDepth) return ERR_STACK;  // depth 0 is the outermost table
  for (const SerialEntry& entry : table.entries) {
    switch (entry.key.kind) {
      case SerialValue::Kind::Number:
        AppendNumber(out, entry.key.number);
        break;
      case SerialValue::Kind::String:
        if (ErrorCode error = AppendString(out, entry.key.bytes)) return error;
        break;
      default:
        return ERR_WRONGUSAGE;
    }
    const SerialValue& value = entry.value;
    switch (value.kind) {
      case SerialValue::Kind::Number:
        AppendNumber(out, value.number);
        break;
      case SerialValue::Kind::Userdata:
        AppendNumber(out, 0);
        break;
      case SerialValue::Kind::String:
        if (ErrorCode error = AppendString(out, value.bytes)) return error;
        break;
      case SerialValue::Kind::Table:
        if (!value.table) return ERR_WRONGUSAGE;
        out += static_cast<char>(kTagTable);
        if (ErrorCode error = AppendEntries(out, *value.table, form, depth + 1)) return error;
        break;
      case SerialValue::Kind::Function:
        if (value.bytes.size() > 0xFFFFFFFFu / 2) return ERR_WRONGUSAGE;
        out += static_cast<char>(kTagFunction);
        out += EncodeFunctionPayload(value.bytes, form);
        break;
      default:
        return ERR_WRONGUSAGE;  // no tag can carry it, and a key without value breaks the record
    }
  }
  out += static_cast<char>(kTagEnd);
  return ERR_NONE;
}

class TableReader {
 public:
  explicit TableReader(FileHandle& handle) : handle_(handle) {}

  ErrorCode ReadEntries(SerialTable& table, int depth) {
    if (depth >= kMaxSerialDepth) return ERR_STACK;  // depth 0 is the outermost table
    while (true) {
      uint8_t tag;
      if (ErrorCode error = handle_.ReadChr(tag)) return error;
      if (tag == kTagEnd) return ERR_NONE;
      SerialEntry entry;
      if (tag == kTagNumber) {
        if (ErrorCode error = ReadNumber(entry.key)) return error;
      } else if (tag == kTagString) {
        if (ErrorCode error = ReadString(entry.key)) return error;
      } else {
        return ERR_READTABLE;
      }
      if (ErrorCode error = ReadValue(entry.value, depth)) return error;
      table.entries.push_back(std::move(entry));
    }
  }

 private:
  ErrorCode ReadNumber(SerialValue& value) {
    double number;
    if (ErrorCode error = handle_.ReadFloat(number)) return error;
    value = SerialValue::Number(number);
    return ERR_NONE;
  }

  ErrorCode ReadString(SerialValue& value) {
    uint8_t length[4];
    if (ErrorCode error = handle_.Read(length, sizeof length)) return error;
    std::string text;
    if (ErrorCode error = handle_.ReadString(LoadBE32(length), text)) return error;
    value = SerialValue::String(std::move(text));
    return ERR_NONE;
  }

  ErrorCode ReadFunction(SerialValue& value) {
    // Peek at the size field to tell the two forms apart.
    uint8_t field[4];
    int64_t start = handle_.Position();
    if (ErrorCode error = handle_.Read(field, sizeof field)) return error;
    bool text = true;
    for (uint8_t c : field) text = text && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
    if (ErrorCode error = handle_.Seek(start)) return error;
    std::string chunk;
    if (ErrorCode error = ReadFunctionPayload(handle_, text ? FunctionForm::Text : FunctionForm::Binary, chunk)) {
      return error;
    }
    value = SerialValue::Function(std::move(chunk));
    return ERR_NONE;
  }

  ErrorCode ReadValue(SerialValue& value, int depth) {
    uint8_t tag;
    if (ErrorCode error = handle_.ReadChr(tag)) return error;
    switch (tag) {
      case kTagNumber:
        return ReadNumber(value);
      case kTagString:
        return ReadString(value);
      case kTagTable: {
        SerialTable nested;
        if (ErrorCode error = ReadEntries(nested, depth + 1)) return error;
        value = SerialValue::Table(std::move(nested));
        return ERR_NONE;
      }
      case kTagFunction:
        return ReadFunction(value);
      default:
        return ERR_READTABLE;
    }
  }

  FileHandle& handle_;
};

}  // namespace

ErrorCode EncodeTableRecord(const SerialTable& table, FunctionForm functionForm, std::string& record) {
  std::string out(kTableMagic);
  if (ErrorCode error = AppendEntries(out, table, functionForm, 0)) return error;
  record = std::move(out);
  return ERR_NONE;
}

ErrorCode WriteTableRecord(FileHandle& handle, const SerialTable& table, FunctionForm functionForm) {
  if (handle.Mode() == OpenMode::Read) return ERR_READONLY;
  std::string record;
  if (ErrorCode error = EncodeTableRecord(table, functionForm, record)) return error;
  return handle.Write(record.data(), record.size());
}

ErrorCode ReadTableRecord(FileHandle& handle, SerialTable& table) {
  if (handle.Mode() == OpenMode::Write) return ERR_WRITEONLY;
  char magic[4];
  if (ErrorCode error = handle.Read(magic, sizeof magic)) return error;
  if (std::string_view(magic, 4) != kTableMagic) return ERR_READTABLE;
  SerialTable result;
  if (ErrorCode error = TableReader(handle).ReadEntries(result, 0)) return error;
  table = std::move(result);
  return ERR_NONE;
}

}  // namespace tembrovia
