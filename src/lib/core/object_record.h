// The header every object record starts with. A library derives its record from it
// (struct Brush : ObjectRecord { ... }) and keeps the records in an ObjectList.
#pragma once

#include <cstdint>

#include "lib/core/data_items.h"
#include "lib/core/object_id.h"

namespace tembrovia {

// Object types, as the scripts see them through the libraries' constants.
enum ObjectType : int32_t {
  kTypeBgPic = 1,
  kTypeSample = 2,
  kTypeBrush = 3,
  kTypeAnim = 4,
  kTypeTextObject = 8,
  kTypeDisplay = 21,
  kTypeLayer = 22,
  kTypeSprite = 32,
  kTypeMusic = 33,
  kTypeClipRegion = 35,
  kTypePointer = 36,
  kTypeAsyncDraw = 37,
  kTypeDoubleBuffer = 38,
  kTypeMemory = 39,
  kTypeInterval = 41,
  kTypeTimeout = 42,
  kTypeFont = 43,
  kTypeFile = 44,
  kTypeDirectory = 45,
  kTypeVectorPath = 49,
  kTypeVideo = 50,
  kTypeMoveList = 51,
  kTypeAnimStream = 52,
  kTypeTimer = 53,
  kTypeClient = 54,
  kTypeServer = 55,
  kTypeUdpObject = 56,
};

class ObjectRecord {
 public:
  ObjectRecord() = default;
  virtual ~ObjectRecord() = default;
  ObjectRecord(const ObjectRecord&) = delete;
  ObjectRecord& operator=(const ObjectRecord&) = delete;

  // Whether another object (a layer, a display, a playing transition...) still uses this
  // one; such an object is not freed but marked release-pending. Libraries with other
  // conditions (the BGPic being shown) override it.
  virtual bool InUse() const { return users > 0; }

  // Frees what needs the VM (registry references of callbacks...) just before the record is
  // destroyed. Data items are released by the list.
  virtual void Release(VMState* /*state*/) {}

  ObjectId id() const { return {number, handle}; }

  int32_t type = 0;
  int32_t number = 0;             // 0 for automatic objects
  const void* handle = nullptr;   // automatic objects: the record's own address
  DataItems data;
  bool locked = false;            // may not be modified (asynchronous drawing ...)
  bool release_pending = false;   // freed while in use: released by the release pass
  int users = 0;                  // in-use count kept by the libraries
};

}  // namespace tembrovia
