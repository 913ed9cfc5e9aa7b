#include "lib/core/object_registry.h"

#include "common/error_state.h"
#include "lib/core/arguments.h"
#include "lib/core/out_of_memory.h"
#include "lib/core/runtime.h"

namespace tembrovia {

ErrorCode ObjectRegistry::Register(ObjectListBase& list) { return AppendOrMemError(lists_, &list); }

ObjectRecord* ObjectRegistry::FindObject(int32_t type, ObjectId id) const {
  for (const ObjectListBase* list : lists_) {
    if (list->type() != type) continue;
    if (ObjectRecord* record = list->FindRecord(id)) return record;
  }
  return nullptr;
}

ObjectRecord* ObjectRegistry::FindHandle(const void* handle) const {
  if (handle == nullptr) return nullptr;
  for (const ObjectListBase* list : lists_) {
    if (ObjectRecord* record = list->FindRecord({0, handle})) return record;
  }
  return nullptr;
}

size_t ObjectRegistry::ReleasePass(VMState* state) {
  size_t freed = 0;
  for (ObjectListBase* list : lists_) freed += list->ReleasePending(state);
  return freed;
}

void ObjectRegistry::FreeAll(VMState* state) {
  for (auto it = lists_.rbegin(); it != lists_.rend(); ++it) (*it)->FreeAll(state);
  lists_.clear();
}

ErrorCode RegisterObjectList(VMState* state, ObjectListBase& list) {
  return Runtime(state).objects().Register(list);
}

ObjectRecord* FindObject(VMState* state, int32_t type, ObjectId id) {
  return Runtime(state).objects().FindObject(type, id);
}

size_t ReleasePass(VMState* state) { return Runtime(state).objects().ReleasePass(state); }

ErrorCode FindObjectData(VMState* state, int typeArg, int idArg, DataItems** items) {
  const int32_t type = CheckInteger(state, typeArg);
  LibraryRuntime& runtime = Runtime(state);
  if (type == kTypeLayer) {
    const int id_type = Type(state, idArg);
    if (id_type != TagNumber && id_type != TagString) RaiseArgumentError(state, ERR_STRORNUM, idArg);
    auto find_layer_data = runtime.layer_hooks().find_layer_data;
    if (find_layer_data == nullptr) return ERR_NOLAYERS;
    return find_layer_data(state, idArg, items);
  }
  ObjectRecord* record = runtime.objects().FindObject(type, ReadObjectId(state, idArg));
  if (record == nullptr) return ERR_FINDARRAY;
  *items = &record->data;
  return ERR_NONE;
}

}  // namespace tembrovia
