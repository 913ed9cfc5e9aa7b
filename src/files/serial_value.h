// A neutral tree of the values WriteTable and ReadTable store, so the record formats are
// plain C++: the command binding converts script tables into this tree and back.
//
// Converting a script table for writing: call guard.Enter(table identity) before reading a
// table's entries and guard.Leave() after; Enter refuses a table that contains itself
// (ERR_WRONGUSAGE) and nesting deeper than kMaxSerialDepth (ERR_STACK), so the conversion
// cannot recurse without end. Map each value by its type: number, string, table, script
// function (its dumped chunk), userdata (light or full), boolean, and Other for anything
// else; the writer decides what is stored and what is refused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/error_codes.h"

namespace tembrovia {

// The most tables a record nests, the outermost included; the writer, the reader and the
// conversion of script tables all hold to the same limit, so whatever is written reads back.
inline constexpr int kMaxSerialDepth = 200;

struct SerialTable;

struct SerialValue {
  enum class Kind { Number, String, Table, Function, Userdata, Boolean, Other };

  Kind kind = Kind::Number;
  double number = 0;                   // Number; Boolean: 0 or 1
  std::string bytes;                   // String: its bytes; Function: the chunk
  std::shared_ptr<SerialTable> table;  // Table

  static SerialValue Number(double value) { return {Kind::Number, value, {}, nullptr}; }
  static SerialValue String(std::string text) { return {Kind::String, 0, std::move(text), nullptr}; }
  static SerialValue Function(std::string chunk) { return {Kind::Function, 0, std::move(chunk), nullptr}; }
  static SerialValue Table(SerialTable table);
  static SerialValue Userdata() { return {Kind::Userdata, 0, {}, nullptr}; }
  static SerialValue Boolean(bool value) { return {Kind::Boolean, value ? 1.0 : 0.0, {}, nullptr}; }
  static SerialValue Other() { return {Kind::Other, 0, {}, nullptr}; }
};

struct SerialEntry {
  SerialValue key;
  SerialValue value;
};

// Entries in the order they are written (the script table's traversal order) or were read.
struct SerialTable {
  std::vector<SerialEntry> entries;
};

inline SerialValue SerialValue::Table(SerialTable table) {
  return {Kind::Table, 0, {}, std::make_shared<SerialTable>(std::move(table))};
}

bool operator==(const SerialValue& a, const SerialValue& b);
inline bool operator==(const SerialEntry& a, const SerialEntry& b) { return a.key == b.key && a.value == b.value; }
inline bool operator==(const SerialTable& a, const SerialTable& b) { return a.entries == b.entries; }

// Bounds the conversion of script tables (see above).
class SerialGuard {
 public:
  ErrorCode Enter(const void* tableIdentity);
  void Leave() { path_.pop_back(); }
  int Depth() const { return static_cast<int>(path_.size()); }

 private:
  std::vector<const void*> path_;
};

}  // namespace tembrovia
