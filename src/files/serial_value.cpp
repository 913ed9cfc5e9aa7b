#include "files/serial_value.h"

#include <algorithm>

namespace tembrovia {

bool operator==(const SerialValue& a, const SerialValue& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case SerialValue::Kind::String:
    case SerialValue::Kind::Function:
      return a.bytes == b.bytes;
    case SerialValue::Kind::Table:
      return a.table && b.table ? *a.table == *b.table : a.table == b.table;
    default:
      return a.number == b.number;
  }
}

ErrorCode SerialGuard::Enter(const void* tableIdentity) {
  if (std::find(path_.begin(), path_.end(), tableIdentity) != path_.end()) return ERR_WRONGUSAGE;
  if (Depth() >= kMaxSerialDepth) return ERR_STACK;
  path_.push_back(tableIdentity);
  return ERR_NONE;
}

}  // namespace tembrovia
