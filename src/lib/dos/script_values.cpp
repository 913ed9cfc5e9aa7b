#include "lib/dos/script_values.h"

#include <cmath>
#include <new>

namespace tembrovia {
namespace {

// Each level of nesting holds the table, a key and a value on the stack.
constexpr int kSlotsPerLevel = 3;

// The dump's writer; out of memory is reported to the dumper rather than thrown through it.
int AppendChunk(VMState*, const void* bytes, size_t size, void* data) {
  try {
    static_cast<std::string*>(data)->append(static_cast<const char*>(bytes), size);
  } catch (const std::bad_alloc&) {
    return 1;
  }
  return 0;
}

std::string StringAt(VMState* state, int index) {
  size_t length = 0;
  const char* bytes = ToLString(state, index, &length);
  return std::string(bytes, length);
}

class TableReader {
 public:
  explicit TableReader(VMState* state) : state_(state) {}

  ErrorCode Convert(int index, SerialTable& table) {
    if (ErrorCode error = guard_.Enter(ToPointer(state_, index))) return error;
    if (!CheckStack(state_, kSlotsPerLevel)) return ERR_STACK;
    PushNil(state_);
    while (Next(state_, index)) {
      SerialEntry entry;
      // Only real strings are read as strings: converting a number key in place would
      // break the traversal.
      const int keyType = Type(state_, -2);
      entry.key = keyType == TagNumber   ? SerialValue::Number(ToNumber(state_, -2))
                  : keyType == TagString ? SerialValue::String(StringAt(state_, -2))
                                         : SerialValue::Other();
      if (ErrorCode error = ConvertValue(entry.value)) return error;
      table.entries.push_back(std::move(entry));
      Pop(state_, 1);
    }
    guard_.Leave();
    return ERR_NONE;
  }

 private:
  ErrorCode ConvertValue(SerialValue& value) {
    switch (Type(state_, -1)) {
      case TagNumber:
        value = SerialValue::Number(ToNumber(state_, -1));
        return ERR_NONE;
      case TagString:
        value = SerialValue::String(StringAt(state_, -1));
        return ERR_NONE;
      case TagTable: {
        SerialTable nested;
        if (ErrorCode error = Convert(GetTop(state_), nested)) return error;
        value = SerialValue::Table(std::move(nested));
        return ERR_NONE;
      }
      case TagFunction: {
        std::string chunk;
        if (ErrorCode error = DumpScriptFunction(state_, -1, chunk)) return error;
        value = SerialValue::Function(std::move(chunk));
        return ERR_NONE;
      }
      case TagLightUserdata:
      case TagUserdata:
        value = SerialValue::Userdata();
        return ERR_NONE;
      case TagBoolean:
        value = SerialValue::Boolean(ToBoolean(state_, -1));
        return ERR_NONE;
      default:
        value = SerialValue::Other();
        return ERR_NONE;
    }
  }

  VMState* state_;
  SerialGuard guard_;
};

ErrorCode PushSerialValue(VMState* state, const SerialValue& value);

ErrorCode PushTable(VMState* state, const SerialTable& table) {
  if (!CheckStack(state, kSlotsPerLevel)) return ERR_STACK;
  NewTable(state);
  for (const SerialEntry& entry : table.entries) {
    if (entry.key.kind == SerialValue::Kind::Number && std::isnan(entry.key.number)) {
      Pop(state, 1);
      return ERR_READTABLE;
    }
    if (ErrorCode error = PushSerialValue(state, entry.key)) {
      Pop(state, 1);
      return error;
    }
    if (ErrorCode error = PushSerialValue(state, entry.value)) {
      Pop(state, 2);
      return error;
    }
    RawSet(state, -3);
  }
  return ERR_NONE;
}

ErrorCode PushSerialValue(VMState* state, const SerialValue& value) {
  switch (value.kind) {
    case SerialValue::Kind::Number:
      PushNumber(state, value.number);
      return ERR_NONE;
    case SerialValue::Kind::String:
      PushStringView(state, value.bytes);
      return ERR_NONE;
    case SerialValue::Kind::Table:
      return value.table ? PushTable(state, *value.table) : ERR_READTABLE;
    case SerialValue::Kind::Function:
      return PushLoadedFunction(state, value.bytes);
    default:
      return ERR_READTABLE;  // the record reader gives nothing else
  }
}

}  // namespace

ErrorCode TableToSerial(VMState* state, int index, SerialTable& table) {
  if (index < 0) index = GetTop(state) + 1 + index;
  const int top = GetTop(state);
  ErrorCode error;
  try {
    SerialTable converted;
    error = TableReader(state).Convert(index, converted);
    if (error == ERR_NONE) table = std::move(converted);
  } catch (const std::bad_alloc&) {
    error = ERR_MEM;
  }
  SetTop(state, top);
  return error;
}

ErrorCode PushSerialTable(VMState* state, const SerialTable& table) { return PushTable(state, table); }

ErrorCode DumpScriptFunction(VMState* state, int index, std::string& chunk) {
  std::string bytes;
  if (ErrorCode error = DumpFunction(state, index, AppendChunk, &bytes)) {
    return error == ERR_WRITE ? ERR_MEM : error;  // only AppendChunk can fail
  }
  chunk = std::move(bytes);
  return ERR_NONE;
}

ErrorCode PushLoadedFunction(VMState* state, const std::string& chunk) {
  return LoadBuffer(state, chunk.data(), chunk.size(), "=stored function");
}

}  // namespace tembrovia
