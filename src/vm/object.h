// The VM's values and collectable objects. A Value is a tag and an 8-byte payload; every
// collectable object starts with the Collectable header that links it into the collector's
// lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "vm/api.h"

namespace tembrovia {

// Internal tags of objects that never appear as script values.
constexpr int TagProto = 9;
constexpr int TagUpvalue = 10;
// A table key whose object was collected from a weak table: it keeps its node but matches
// no key.
constexpr int TagDeadKey = 11;

struct Collectable;
struct InternedString;
struct Table;
struct Closure;
struct Userdata;
struct Proto;
struct UpvalueCell;

struct Value {
  int32_t tag;
  union {
    double n;
    Collectable* gc;
    void* p;
    int32_t b;
  };
};

inline Value NilValue() { Value v; v.tag = TagNil; v.n = 0; return v; }
inline Value NumberValue(double d) { Value v; v.tag = TagNumber; v.n = d; return v; }

inline bool IsCollectableTag(int tag) { return tag >= TagString && tag <= TagThread; }

// Mark bits (see the collector).
constexpr uint8_t kMarkBit = 0x01;
constexpr uint8_t kUnfinalisedBit = 0x02;  // userdata
constexpr uint8_t kWeakKeysBit = 0x02;     // tables
constexpr uint8_t kWeakValuesBit = 0x04;   // tables
constexpr uint8_t kFixedBit = 0x10;

struct Collectable {
  Collectable* next;
  uint8_t tag;
  uint8_t marked;
};

struct InternedString : Collectable {
  uint8_t reserved;
  uint32_t hash;
  uint32_t length;
  char* data() { return reinterpret_cast<char*>(this + 1); }
  const char* data() const { return reinterpret_cast<const char*>(this + 1); }
};

struct TableNode {
  Value key;
  Value value;
  TableNode* next;
};

struct Table : Collectable {
  uint8_t flags;  // absent-event cache for events 0..4
  uint8_t lsizenode;
  Table* metatable;
  Value* array;
  TableNode* node;
  TableNode* firstfree;
  Collectable* gclist;
  uint32_t sizearray;
};

struct Userdata : Collectable {
  Table* metatable;
  uint32_t length;
  void* payload() { return reinterpret_cast<unsigned char*>(this) + PayloadOffset(); }
  static constexpr size_t PayloadOffset() { return (sizeof(Userdata) + 15) & ~size_t{15}; }
};

struct LocalVariable {
  InternedString* name;
  int32_t startpc;
  int32_t endpc;
};

using Instruction = uint32_t;

struct Proto : Collectable {
  InternedString* source;
  int32_t lineDefined;
  uint8_t nups;
  uint8_t numparams;
  uint8_t is_vararg;
  uint8_t maxstacksize;
  int32_t* lineinfo;
  uint32_t sizelineinfo;
  LocalVariable* locvars;
  uint32_t sizelocvars;
  InternedString** upvalues;
  uint32_t sizeupvalues;
  Value* k;
  uint32_t sizek;
  Proto** p;
  uint32_t sizep;
  Instruction* code;
  uint32_t sizecode;
  Collectable* gclist;
};

struct UpvalueCell : Collectable {
  Value* v;       // a stack slot while open, &value once closed
  Value value;
  UpvalueCell* nextOpen;  // the state's list of open cells, highest slot first
};

struct Closure : Collectable {
  uint8_t isNative;
  uint8_t nupvalues;
  Collectable* gclist;
  Value env;
  union {
    struct {
      NativeFunction f;
    } native;
    struct {
      Proto* proto;
    } script;
  };
  // Followed by nupvalues Values (native) or UpvalueCell pointers (script).
  Value* nativeUpvalues() { return reinterpret_cast<Value*>(this + 1); }
  UpvalueCell** scriptUpvalues() { return reinterpret_cast<UpvalueCell**>(this + 1); }
  static size_t NativeSize(int n) { return sizeof(Closure) + sizeof(Value) * n; }
  static size_t ScriptSize(int n) { return sizeof(Closure) + sizeof(UpvalueCell*) * n; }
};

// Accessors.
inline InternedString* AsString(const Value& v) { return static_cast<InternedString*>(v.gc); }
inline Table* AsTable(const Value& v) { return static_cast<Table*>(v.gc); }
inline Closure* AsClosure(const Value& v) { return static_cast<Closure*>(v.gc); }
inline Userdata* AsUserdata(const Value& v) { return static_cast<Userdata*>(v.gc); }

inline void SetString(Value* v, InternedString* s) { v->tag = TagString; v->gc = s; }
inline void SetTableValue(Value* v, Table* t) { v->tag = TagTable; v->gc = t; }
inline void SetClosureValue(Value* v, Closure* c) { v->tag = TagFunction; v->gc = c; }
inline void SetNumber(Value* v, double d) { v->tag = TagNumber; v->n = d; }
inline void SetNil(Value* v) { v->tag = TagNil; }
inline void SetBoolean(Value* v, bool b) { v->tag = TagBoolean; v->b = b ? 1 : 0; }

// nil, boolean false, the number 0 and the empty string are false for tests.
inline bool IsFalseForTest(const Value& v) {
  switch (v.tag) {
    case TagNil: return true;
    case TagBoolean: return v.b == 0;
    case TagNumber: return v.n == 0;
    case TagString: return AsString(v)->length == 0;
    default: return false;
  }
}

bool RawEquals(const Value& a, const Value& b);

// The shared nil value returned by failed lookups.
extern const Value kNilObject;

}  // namespace tembrovia
