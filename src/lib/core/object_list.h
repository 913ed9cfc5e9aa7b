// One library's list of objects of one type, in creation order, with the conventions every
// library follows: finding (with the errors commands return), creating with replacement of
// an object of the same number, freeing, and the deferred release of objects still in use.
//
// Typical creating command:
//   NewObjectId id = ReadNewObjectId(state, 1);
//   ... read the other arguments ...
//   if (ErrorCode e = list.PrepareNew(state, id)) return e;
//   Brush& brush = list.Add(id, std::make_unique<Brush>(...));
//   return PushCreated(state, brush, id);
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "common/error_codes.h"
#include "lib/core/object_id.h"
#include "lib/core/object_record.h"

namespace tembrovia {

// Whether a find means to modify the object (a locked object then gives ERR_LOCKEDOBJ).
enum class Access { kRead, kModify };

class ObjectListBase {
 public:
  // type: the type of every record; not_found: the code for a missing number (ERR_FINDBRUSH...).
  ObjectListBase(int32_t type, ErrorCode not_found);
  virtual ~ObjectListBase();
  ObjectListBase(const ObjectListBase&) = delete;
  ObjectListBase& operator=(const ObjectListBase&) = delete;

  int32_t type() const { return type_; }
  ErrorCode not_found_code() const { return not_found_; }

  // Every record in list order, release-pending ones included.
  std::span<const std::unique_ptr<ObjectRecord>> records() const { return records_; }

  // The record with this identifier, skipping release-pending ones; null when there is none.
  ObjectRecord* FindRecord(ObjectId id) const;

  // The same with the error a command returns: ERR_FINDARRAY for a handle; for a number the
  // list's own code with the number as the error number; ERR_LOCKEDOBJ when access is
  // kModify and the object is locked.
  ErrorCode FindRecord(ObjectId id, Access access, ObjectRecord** record) const;

  // Makes room for a new object: when id names a number that an object already has, that
  // object is freed (ERR_LOCKEDOBJ when it is locked); one still in use is detached instead
  // (number 0, handle its own address, release pending) and stays until the release pass.
  ErrorCode PrepareNew(VMState* state, NewObjectId id);

  // Fills the header of record (type, number or 0, handle null or its own address, no data)
  // and appends it. Call PrepareNew first.
  ObjectRecord& AddRecord(NewObjectId id, std::unique_ptr<ObjectRecord> record);

  // The free command of a library: finds the object for modification, then frees it, or
  // detaches it and marks its release pending when it is still in use.
  ErrorCode Free(VMState* state, ObjectId id);

  // Frees the record now, or detaches it and marks it pending when it is in use.
  void FreeOrDefer(VMState* state, ObjectRecord* record);

  // Releases the record's data items, calls its Release and destroys it.
  void FreeNow(VMState* state, ObjectRecord* record);

  // Frees every release-pending record that is no longer in use; returns how many.
  size_t ReleasePending(VMState* state);

  // Frees every record (end of the run).
  void FreeAll(VMState* state);

 private:
  static void Detach(ObjectRecord& record);

  int32_t type_;
  ErrorCode not_found_;
  std::vector<std::unique_ptr<ObjectRecord>> records_;
};

// The typed list a library keeps: T derives from ObjectRecord.
template <class T>
class ObjectList : public ObjectListBase {
 public:
  using ObjectListBase::ObjectListBase;

  T* Find(ObjectId id) const { return static_cast<T*>(FindRecord(id)); }

  ErrorCode Find(ObjectId id, Access access, T** object) const {
    ObjectRecord* record = nullptr;
    ErrorCode error = FindRecord(id, access, &record);
    *object = static_cast<T*>(record);
    return error;
  }

  T& Add(NewObjectId id, std::unique_ptr<T> object) {
    return static_cast<T&>(AddRecord(id, std::move(object)));
  }

  // Calls f(T&) for every live record (release-pending ones skipped), in list order.
  template <class F>
  void ForEach(F&& f) const {
    for (const auto& record : records()) {
      if (!record->release_pending) f(static_cast<T&>(*record));
    }
  }
};

// Step 4 of creation: an automatic object's handle is returned to the script as a light
// userdata (1 result); a numbered object returns nothing (0 results).
int PushCreated(VMState* state, const ObjectRecord& record, NewObjectId id);

}  // namespace tembrovia
