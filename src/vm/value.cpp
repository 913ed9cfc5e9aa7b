#include "vm/object.h"

namespace tembrovia {

bool RawEquals(const Value& a, const Value& b) {
  if (a.tag != b.tag) return false;
  switch (a.tag) {
    case TagNil: return true;
    case TagNumber: return a.n == b.n;
    case TagBoolean: return a.b == b.b;
    case TagLightUserdata: return a.p == b.p;
    default: return a.gc == b.gc;
  }
}

}  // namespace tembrovia
