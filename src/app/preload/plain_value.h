// Script values as plain data: nil, numbers, strings and tables, so that the preload can be
// planned and checked without a virtual machine and handed to one later.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tembrovia {

struct PlainValue {
  enum class Kind : uint8_t { kNil, kNumber, kString, kTable };

  Kind kind = Kind::kNil;
  double number = 0;
  std::string text;
  std::vector<PlainValue> keys;    // a table's keys, in insertion order
  std::vector<PlainValue> values;  // and its values

  static PlainValue Number(double value) {
    PlainValue v;
    v.kind = Kind::kNumber;
    v.number = value;
    return v;
  }
  static PlainValue String(std::string value) {
    PlainValue v;
    v.kind = Kind::kString;
    v.text = std::move(value);
    return v;
  }
  static PlainValue Table() {
    PlainValue v;
    v.kind = Kind::kTable;
    return v;
  }

  void Set(std::string_view key, PlainValue value) {
    keys.push_back(String(std::string(key)));
    values.push_back(std::move(value));
  }
  void Set(std::string_view key, double value) { Set(key, Number(value)); }
  // Appends at the next integer key: 0, 1, 2 ...
  void Append(PlainValue value) {
    keys.push_back(Number(static_cast<double>(values.size())));
    values.push_back(std::move(value));
  }

  // The value under a string key; null when there is none.
  const PlainValue* Field(std::string_view key) const {
    for (size_t i = 0; i < keys.size(); ++i) {
      if (keys[i].kind == Kind::kString && keys[i].text == key) return &values[i];
    }
    return nullptr;
  }

  bool operator==(const PlainValue&) const = default;
};

}  // namespace tembrovia
