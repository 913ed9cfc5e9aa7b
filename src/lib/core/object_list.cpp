#include "lib/core/object_list.h"

#include <algorithm>

#include "common/error_state.h"

namespace tembrovia {

ObjectListBase::ObjectListBase(int32_t type, ErrorCode not_found)
    : type_(type), not_found_(not_found) {}

ObjectListBase::~ObjectListBase() = default;

ObjectRecord* ObjectListBase::FindRecord(ObjectId id) const {
  for (const auto& record : records_) {
    if (!record->release_pending && record->id() == id) return record.get();
  }
  return nullptr;
}

ErrorCode ObjectListBase::FindRecord(ObjectId id, Access access, ObjectRecord** record) const {
  *record = FindRecord(id);
  if (*record == nullptr) {
    if (id.is_handle()) return ERR_FINDARRAY;
    SetErrorNumber(id.number);
    return not_found_;
  }
  if (access == Access::kModify && (*record)->locked) {
    *record = nullptr;
    return ERR_LOCKEDOBJ;
  }
  return ERR_NONE;
}

ErrorCode ObjectListBase::PrepareNew(VMState* state, NewObjectId id) {
  if (id.automatic) return ERR_NONE;
  ObjectRecord* old = FindRecord({id.number, nullptr});
  if (old == nullptr) return ERR_NONE;
  if (old->locked) return ERR_LOCKEDOBJ;
  FreeOrDefer(state, old);
  return ERR_NONE;
}

ObjectRecord& ObjectListBase::AddRecord(NewObjectId id, std::unique_ptr<ObjectRecord> record) {
  record->type = type_;
  record->number = id.automatic ? 0 : id.number;
  record->handle = id.automatic ? record.get() : nullptr;
  records_.push_back(std::move(record));
  return *records_.back();
}

ErrorCode ObjectListBase::Free(VMState* state, ObjectId id) {
  ObjectRecord* record = nullptr;
  if (ErrorCode error = FindRecord(id, Access::kModify, &record)) return error;
  FreeOrDefer(state, record);
  return ERR_NONE;
}

void ObjectListBase::Detach(ObjectRecord& record) {
  // The number is free for a new object at once; the old one keeps a unique identity until
  // its last user ends.
  record.number = 0;
  record.handle = &record;
  record.release_pending = true;
}

void ObjectListBase::FreeOrDefer(VMState* state, ObjectRecord* record) {
  if (record->InUse()) {
    Detach(*record);
  } else {
    FreeNow(state, record);
  }
}

void ObjectListBase::FreeNow(VMState* state, ObjectRecord* record) {
  auto it = std::find_if(records_.begin(), records_.end(),
                         [record](const auto& r) { return r.get() == record; });
  if (it == records_.end()) return;
  std::unique_ptr<ObjectRecord> owned = std::move(*it);
  records_.erase(it);
  owned->data.ClearAll(state);
  owned->Release(state);
}

size_t ObjectListBase::ReleasePending(VMState* state) {
  size_t freed = 0;
  for (size_t i = 0; i < records_.size();) {
    ObjectRecord* record = records_[i].get();
    if (record->release_pending && !record->InUse()) {
      FreeNow(state, record);
      ++freed;
    } else {
      ++i;
    }
  }
  return freed;
}

void ObjectListBase::FreeAll(VMState* state) {
  // Newest first: a later object may refer to an earlier one, never the other way round.
  while (!records_.empty()) {
    std::unique_ptr<ObjectRecord> owned = std::move(records_.back());
    records_.pop_back();
    owned->data.ClearAll(state);
    owned->Release(state);
  }
}

int PushCreated(VMState* state, const ObjectRecord& record, NewObjectId id) {
  if (!id.automatic) return 0;
  PushLightUserdata(state, const_cast<void*>(record.handle));
  return 1;
}

}  // namespace tembrovia
