#include "lib/core/object_id.h"

#include "common/numeric_conversion.h"
#include "lib/core/arguments.h"

namespace tembrovia {

ObjectId ReadObjectId(VMState* state, int i) {
  if (Type(state, i) == TagLightUserdata) return {0, ToUserdata(state, i)};
  return {TruncToInt32(CheckNumber(state, i)), nullptr};
}

NewObjectId ReadNewObjectId(VMState* state, int i) {
  if (IsNil(state, i)) return {0, true};
  return {TruncToInt32(CheckNumber(state, i)), false};
}

void PushObjectId(VMState* state, ObjectId id) {
  if (id.is_handle()) {
    PushLightUserdata(state, const_cast<void*>(id.handle));
  } else {
    PushNumber(state, id.number);
  }
}

}  // namespace tembrovia
