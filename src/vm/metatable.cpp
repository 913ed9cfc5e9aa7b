#include "vm/metatable.h"

namespace tembrovia {

const char* const kMetaEventNames[kMetaEventCount] = {
    "__index", "__newindex", "__gc",  "__mode", "__eq",  "__add",  "__sub",    "__mul",
    "__div",   "__divint",   "__mod", "__lsh",  "__rsh", "__or",   "__and",    "__xor",
    "__pow",   "__unm",      "__not", "__lt",   "__le",  "__concat", "__call",
};

Table* MetatableOf(VMState* L, const Value& v) {
  Table* mt;
  if (v.tag == TagTable) {
    mt = AsTable(v)->metatable;
  } else if (v.tag == TagUserdata) {
    mt = AsUserdata(v)->metatable;
  } else {
    return nullptr;
  }
  return mt == G(L)->defaultMetatable ? nullptr : mt;
}

const Value* MetaEventOf(VMState* L, Table* mt, MetaEvent event) {
  if (event <= EventEq && LacksCachedEvent(mt, event)) return nullptr;
  const Value* handler = TableGetStr(mt, G(L)->eventNames[event]);
  if (handler->tag == TagNil) {
    if (event <= EventEq) mt->flags = static_cast<uint8_t>(mt->flags | (1u << event));
    return nullptr;
  }
  return handler;
}

const Value* GetMetaMethod(VMState* L, const Value& v, MetaEvent event) {
  Table* mt = MetatableOf(L, v);
  if (mt == nullptr) return &kNilObject;
  const Value* handler = MetaEventOf(L, mt, event);
  return handler ? handler : &kNilObject;
}

}  // namespace tembrovia
