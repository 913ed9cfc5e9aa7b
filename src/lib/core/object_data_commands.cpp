// The generic object commands of the system library: listing, testing and typing objects of
// any library, and the named data items a script attaches to them.
#include "common/error_state.h"
#include "lib/core/arguments.h"
#include "lib/core/core_commands.h"
#include "lib/core/data_items.h"
#include "lib/core/object_registry.h"
#include "lib/core/runtime.h"

namespace tembrovia {

int CmdGetObjects(VMState* state) {
  CheckArgCount(state, 1, 1);
  const int32_t type = CheckInteger(state, 1);
  NewTable(state);
  int count = 0;
  for (const ObjectListBase* list : Runtime(state).objects().lists()) {
    if (list->type() != type) continue;
    for (const auto& record : list->records()) {
      if (record->release_pending) continue;
      PushObjectId(state, record->id());
      RawSetI(state, -2, count++);
    }
  }
  PushNumber(state, count);
  return 2;
}

int CmdHaveObject(VMState* state) {
  CheckArgCount(state, 2, 2);
  const int32_t type = CheckInteger(state, 1);
  const ObjectId id = ReadObjectId(state, 2);
  PushNumber(state, FindObject(state, type, id) != nullptr ? 1 : 0);
  return 1;
}

int CmdGetObjectType(VMState* state) {
  CheckArgCount(state, 1, 1);
  const void* handle = CheckUserdata(state, 1);
  const ObjectRecord* record = Runtime(state).objects().FindHandle(handle);
  PushNumber(state, record != nullptr ? record->type : -1);
  return 1;
}

namespace {

// The object (arguments 1 and 2) and the item name (argument 3) of an object-data command.
// Every argument is read before a missing object is reported.
struct ItemAddress {
  DataItems* items = nullptr;
  std::string_view name;
  ErrorCode error = ERR_NONE;
};

ItemAddress ReadItemAddress(VMState* state) {
  ItemAddress address;
  address.error = FindObjectData(state, 1, 2, &address.items);
  address.name = CheckString(state, 3);
  return address;
}

ErrorCode ItemNotFound(std::string_view name) {
  SetErrorText(name);
  return ERR_FINDOBJECTDATA;
}

}  // namespace

int CmdSetObjectData(VMState* state) {
  CheckArgCount(state, 4, 4);
  const ItemAddress address = ReadItemAddress(state);
  if (address.error != ERR_NONE) return address.error;
  if (address.name.empty()) return ERR_WRONGUSAGE;
  PushValue(state, 4);
  address.items->Set(state, address.name);
  return 0;
}

int CmdGetObjectData(VMState* state) {
  CheckArgCount(state, 3, 3);
  const ItemAddress address = ReadItemAddress(state);
  if (address.error != ERR_NONE) return address.error;
  if (!address.items->Push(state, address.name)) return ItemNotFound(address.name);
  return 1;
}

int CmdClearObjectData(VMState* state) {
  CheckArgCount(state, 2, 3);
  DataItems* items = nullptr;
  const ErrorCode found = FindObjectData(state, 1, 2, &items);
  const bool has_name = !IsNone(state, 3);
  const std::string_view name = has_name ? CheckString(state, 3) : std::string_view();
  if (found != ERR_NONE) return found;
  if (!has_name) {
    items->ClearAll(state);
    return 0;
  }
  if (name.empty()) return ERR_WRONGUSAGE;
  if (!items->Clear(state, name)) return ItemNotFound(name);
  return 0;
}

int CmdCopyObjectData(VMState* state) {
  CheckArgCount(state, 4, 5);
  const bool overwrite = OptInteger(state, 5, 1) != 0;
  DataItems* source = nullptr;
  DataItems* destination = nullptr;
  if (ErrorCode error = FindObjectData(state, 1, 2, &source)) return error;
  if (ErrorCode error = FindObjectData(state, 3, 4, &destination)) return error;
  destination->CopyFrom(state, *source, overwrite);
  return 0;
}

}  // namespace tembrovia
