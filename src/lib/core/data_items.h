// The named data items a script attaches to an object (SetObjectData and its siblings).
// Names are matched without regard to case and stored as given; each value is kept alive by
// a registry reference, released when the item goes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vm/api.h"

namespace tembrovia {

class DataItems {
 public:
  struct Item {
    std::string name;
    int ref = kNoRef;  // kNoRef stands for Nil
  };

  // Pops the value on top of the stack and stores it under name, replacing (and releasing)
  // an item of that name, else appending a new one.
  void Set(VMState* state, std::string_view name);

  // Pushes the value stored under name; false (and nothing pushed) when there is none.
  bool Push(VMState* state, std::string_view name) const;

  // Removes the item of that name; false when there is none.
  bool Clear(VMState* state, std::string_view name);
  void ClearAll(VMState* state);

  // Copies every item of source: existing names are replaced only with overwrite, new names
  // are appended. The values are shared (new references to the same values).
  void CopyFrom(VMState* state, const DataItems& source, bool overwrite);

  const std::vector<Item>& items() const { return items_; }
  bool empty() const { return items_.empty(); }

 private:
  Item* Find(std::string_view name);
  const Item* Find(std::string_view name) const;

  std::vector<Item> items_;
};

}  // namespace tembrovia
