#include "lib/core/data_items.h"

#include "common/latin1_case.h"

namespace tembrovia {
namespace {

void PushRef(VMState* state, int ref) {
  if (ref == kNoRef) {
    PushNil(state);
  } else {
    PushRegistryRef(state, ref);
  }
}

}  // namespace

DataItems::Item* DataItems::Find(std::string_view name) {
  for (Item& item : items_) {
    if (Latin1EqualNoCase(item.name, name)) return &item;
  }
  return nullptr;
}

const DataItems::Item* DataItems::Find(std::string_view name) const {
  return const_cast<DataItems*>(this)->Find(name);
}

void DataItems::Set(VMState* state, std::string_view name) {
  const int ref = RegistryRef(state);
  if (Item* item = Find(name)) {
    RegistryUnref(state, item->ref);
    item->name.assign(name);
    item->ref = ref;
    return;
  }
  items_.push_back({std::string(name), ref});
}

bool DataItems::Push(VMState* state, std::string_view name) const {
  const Item* item = Find(name);
  if (item == nullptr) return false;
  PushRef(state, item->ref);
  return true;
}

bool DataItems::Clear(VMState* state, std::string_view name) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (Latin1EqualNoCase(it->name, name)) {
      RegistryUnref(state, it->ref);
      items_.erase(it);
      return true;
    }
  }
  return false;
}

void DataItems::ClearAll(VMState* state) {
  for (const Item& item : items_) RegistryUnref(state, item.ref);
  items_.clear();
}

void DataItems::CopyFrom(VMState* state, const DataItems& source, bool overwrite) {
  // A copy of the source list, so that copying an object's items onto itself is safe.
  const std::vector<Item> items = source.items_;
  for (const Item& item : items) {
    if (!overwrite && Find(item.name) != nullptr) continue;
    PushRef(state, item.ref);
    Set(state, item.name);
  }
}

}  // namespace tembrovia
