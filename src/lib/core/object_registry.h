// The registry of every library's object lists, through which the generic object commands
// (GetObjects, HaveObject, GetObjectType, the object-data commands) reach objects of any
// type, and which runs the release pass and the final freeing.
#pragma once

#include <cstdint>
#include <vector>

#include "common/error_codes.h"
#include "lib/core/object_list.h"

namespace tembrovia {

class DataItems;

class ObjectRegistry {
 public:
  // Appends a list (a library does this in its init). The list must outlive the registry's
  // use of it: LibraryRuntime frees all lists before it destroys the library data.
  ErrorCode Register(ObjectListBase& list);

  const std::vector<ObjectListBase*>& lists() const { return lists_; }

  // The live object (not release-pending) whose type, number and handle all match.
  ObjectRecord* FindObject(int32_t type, ObjectId id) const;

  // The live automatic object with this handle, whatever its type.
  ObjectRecord* FindHandle(const void* handle) const;

  // The release pass: frees the release-pending objects no longer in use; returns how many.
  size_t ReleasePass(VMState* state);

  // Frees every object of every list, the last registered list first, and forgets the lists.
  void FreeAll(VMState* state);

 private:
  std::vector<ObjectListBase*> lists_;
};

// The same on the runtime of state.
ErrorCode RegisterObjectList(VMState* state, ObjectListBase& list);
ObjectRecord* FindObject(VMState* state, int32_t type, ObjectId id);
size_t ReleasePass(VMState* state);

// Finds the data items of an object for the object-data commands, from the type at argument
// typeArg and the identifier at argument idArg. Type #LAYER goes to the layers' hook (number
// or name of a layer of the current BGPic; a value of another type raises ERR_STRORNUM;
// without layers ERR_NOLAYERS). Any other object that FindObject cannot find gives
// ERR_FINDARRAY.
ErrorCode FindObjectData(VMState* state, int typeArg, int idArg, DataItems** items);

}  // namespace tembrovia
