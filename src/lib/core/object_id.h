// How scripts name objects: a number, or an automatic handle (a light userdata) that a
// creating command returns when the script passes Nil for the number.
#pragma once

#include <cstdint>

#include "vm/api.h"

namespace tembrovia {

// A pair (number, handle): (n, null) for a numbered object, (0, address) for an automatic one.
// Two identifiers are equal when both parts are, so a number never matches an automatic
// object.
struct ObjectId {
  int32_t number = 0;
  const void* handle = nullptr;

  bool is_handle() const { return handle != nullptr; }
  friend bool operator==(const ObjectId&, const ObjectId&) = default;
};

// The identifier argument of a creating command: a number, or Nil for an automatic one.
struct NewObjectId {
  int32_t number = 0;
  bool automatic = false;
};

// Argument i as an identifier: a light userdata is a handle, anything else is read with
// CheckNumber and truncated (raising ERR_NUMEXPECTED).
ObjectId ReadObjectId(VMState* state, int i);

// Argument i of a creating command: Nil requests an automatic identifier, anything else is
// read with CheckNumber and truncated.
NewObjectId ReadNewObjectId(VMState* state, int i);

// Pushes an identifier as the script sees it: the handle as a light userdata, else the number.
void PushObjectId(VMState* state, ObjectId id);

}  // namespace tembrovia
