#include "vm/table.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "vm/errors.h"
#include "vm/memory.h"

namespace tembrovia {
namespace {

uint32_t HashModulo(const Table* t, uint32_t h) { return h % ((NodeCount(t) - 1) | 1); }

uint32_t NumberHash(double d) {
  double shifted = d + 1;  // so that -0 and 0 hash alike
  uint64_t bits;
  std::memcpy(&bits, &shifted, sizeof bits);
  return static_cast<uint32_t>(bits) + static_cast<uint32_t>(bits >> 32);
}

TableNode* MainPosition(const Table* t, const Value& key) {
  uint32_t index;
  switch (key.tag) {
    case TagString: index = AsString(key)->hash & (NodeCount(t) - 1); break;
    case TagBoolean: index = static_cast<uint32_t>(key.b) & (NodeCount(t) - 1); break;
    case TagNumber: index = HashModulo(t, NumberHash(key.n)); break;
    default: index = HashModulo(t, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key.p))); break;
  }
  return &t->node[index];
}

TableNode* FindNode(const Table* t, const Value& key) {
  TableNode* n = MainPosition(t, key);
  do {
    if (RawEquals(n->key, key)) return n;
    n = n->next;
  } while (n != nullptr);
  return nullptr;
}

void SetNodeVector(VMState* L, Table* t, int lsize) {
  if (lsize > kMaxTableBits) RaiseError(L, ERR_TABLEOVERFLOW);
  if (lsize == 0) {
    t->node = &G(L)->dummyNode;
  } else {
    uint32_t size = 1u << lsize;
    TableNode* nodes = AllocateArray<TableNode>(L, size);
    for (uint32_t i = 0; i < size; ++i) {
      SetNil(&nodes[i].key);
      SetNil(&nodes[i].value);
      nodes[i].next = nullptr;
    }
    t->node = nodes;
  }
  t->lsizenode = static_cast<uint8_t>(lsize);
  t->firstfree = &t->node[NodeCount(t) - 1];
}

// Slice index of an integer key for the rehash counts: 0 for 1, 1 for 2, 2 for 3..4, ...
int KeySlice(uint32_t k) { return k == 1 ? 0 : 32 - std::countl_zero(k - 1); }

void CountIntegerKey(const Value& key, int* nums, uint32_t* integerKeys) {
  if (key.tag != TagNumber) return;
  double d = key.n;
  if (!(d >= 1 && d <= static_cast<double>(1u << kMaxTableBits))) return;
  uint32_t k = static_cast<uint32_t>(d);
  if (static_cast<double>(k) != d) return;
  nums[KeySlice(k)]++;
  (*integerKeys)++;
}

void Resize(VMState* L, Table* t, uint32_t newArraySize, int newNodeBits) {
  GlobalState* g = G(L);
  uint32_t oldArraySize = t->sizearray;
  int oldNodeBits = t->lsizenode;
  uint32_t oldNodeCount = NodeCount(t);
  TableNode* oldNodes = t->node;
  TableNode dummyCopy;
  if (oldNodeBits == 0) {
    dummyCopy = g->dummyNode;
    oldNodes = &dummyCopy;
    SetNil(&g->dummyNode.key);
    SetNil(&g->dummyNode.value);
    g->dummyNode.next = nullptr;
  }
  if (newArraySize > oldArraySize) {
    t->array = ResizeArray(L, t->array, oldArraySize, newArraySize);
    for (uint32_t i = oldArraySize; i < newArraySize; ++i) SetNil(&t->array[i]);
    t->sizearray = newArraySize;
  }
  SetNodeVector(L, t, newNodeBits);
  if (newArraySize < oldArraySize) {
    t->sizearray = newArraySize;
    for (uint32_t i = newArraySize; i < oldArraySize; ++i) {
      if (t->array[i].tag != TagNil) *TableSetInt(L, t, static_cast<int32_t>(i + 1)) = t->array[i];
    }
    t->array = ResizeArray(L, t->array, oldArraySize, newArraySize);
  }
  for (uint32_t i = oldNodeCount; i-- > 0;) {
    TableNode* old = &oldNodes[i];
    if (old->value.tag != TagNil) *TableSet(L, t, old->key) = old->value;
  }
  if (oldNodeBits != 0) FreeArray(L, oldNodes, oldNodeCount);
}

void Rehash(VMState* L, Table* t) {
  int nums[kMaxTableBits + 1] = {};
  uint32_t integerKeys = 0;
  uint32_t total = 0;
  // The array part slice by slice: slice 0 is key 1, slice i the keys 2^(i-1)+1 .. 2^i.
  uint32_t arrayCount = std::min<uint32_t>(t->sizearray, 1u << kMaxTableBits);
  for (int slice = 0, j = 0; slice <= kMaxTableBits && static_cast<uint32_t>(j) < arrayCount; ++slice) {
    uint32_t end = std::min<uint32_t>(1u << slice, arrayCount);
    int used = 0;
    for (; static_cast<uint32_t>(j) < end; ++j) used += t->array[j].tag != TagNil;
    nums[slice] += used;
    integerKeys += static_cast<uint32_t>(used);
  }
  total = integerKeys;
  for (uint32_t j = arrayCount; j < t->sizearray; ++j) total += t->array[j].tag != TagNil;
  for (uint32_t i = 0; i < NodeCount(t); ++i) {
    const TableNode& n = t->node[i];
    if (n.value.tag == TagNil) continue;
    total++;
    CountIntegerKey(n.key, nums, &integerKeys);
  }
  uint32_t a = static_cast<uint32_t>(nums[0]);
  uint32_t na = a;
  int n = a == 0 ? -1 : 0;
  for (int i = 1; i <= kMaxTableBits && a < integerKeys && integerKeys >= (1u << (i - 1)); ++i) {
    if (nums[i] > 0) {
      a += static_cast<uint32_t>(nums[i]);
      if (a >= (1u << (i - 1))) {
        n = i;
        na = a;
      }
    }
  }
  uint32_t arraySize = n < 0 ? 0 : (1u << n);
  uint32_t remaining = total - na;
  int nodeBits = remaining == 0 ? 0 : std::bit_width(remaining);
  Resize(L, t, arraySize, nodeBits);
}

Value* NewKey(VMState* L, Table* t, const Value& key) {
  TableNode* mp = MainPosition(t, key);
  if (mp->value.tag != TagNil) {
    TableNode* other = MainPosition(t, mp->key);
    TableNode* n = t->firstfree;
    if (other != mp) {
      while (other->next != mp) other = other->next;
      other->next = n;
      *n = *mp;
      mp->next = nullptr;
      SetNil(&mp->value);
    } else {
      n->next = mp->next;
      mp->next = n;
      mp = n;
    }
  }
  mp->key = key;
  for (;;) {
    if (t->firstfree->key.tag == TagNil) return &mp->value;
    if (t->firstfree == t->node) break;
    t->firstfree--;
  }
  SetBoolean(&mp->value, false);  // counted by the rehash
  Rehash(L, t);
  Value* slot = const_cast<Value*>(TableGet(t, key));
  SetNil(slot);
  return slot;
}

}  // namespace

const Value kNilObject = NilValue();

Table* NewTable(VMState* L, uint32_t arraySize, int log2HashSize) {
  if (arraySize > (1u << kMaxTableBits) || log2HashSize > kMaxTableBits) {
    RaiseError(L, ERR_TABLEOVERFLOW);
  }
  Table* t = NewObject<Table>(L, sizeof(Table), TagTable);
  t->flags = 0xFF;
  t->metatable = G(L)->defaultMetatable;
  t->array = nullptr;
  t->sizearray = 0;
  t->gclist = nullptr;
  t->lsizenode = 0;
  t->node = &G(L)->dummyNode;
  t->firstfree = t->node;
  if (arraySize > 0) {
    t->array = AllocateArray<Value>(L, arraySize);
    for (uint32_t i = 0; i < arraySize; ++i) SetNil(&t->array[i]);
    t->sizearray = arraySize;
  }
  SetNodeVector(L, t, log2HashSize);
  return t;
}

size_t TableBytes(const Table* t) {
  return sizeof(Table) + sizeof(Value) * t->sizearray +
         (HasDummyNode(t) ? 0 : sizeof(TableNode) * NodeCount(t));
}

void FreeTable(VMState* L, Table* t) {
  if (!HasDummyNode(t)) FreeArray(L, t->node, NodeCount(t));
  FreeArray(L, t->array, t->sizearray);
  FreeBlock(L, t, sizeof(Table));
}

const Value* TableGetIntHash(const Table* t, int32_t n) {
  double d = n;
  const TableNode* node = &t->node[HashModulo(t, NumberHash(d))];
  do {
    if (node->key.tag == TagNumber && node->key.n == d) return &node->value;
    node = node->next;
  } while (node != nullptr);
  return &kNilObject;
}

const Value* TableGet(const Table* t, const Value& key) {
  switch (key.tag) {
    case TagNil: return TableGetInt(t, 0);
    case TagString: return TableGetStr(t, AsString(key));
    case TagNumber: {
      double d = key.n;
      if (d >= -2147483648.0 && d <= 2147483647.0) {
        int32_t k = static_cast<int32_t>(d);
        if (static_cast<double>(k) == d) return TableGetInt(t, k);
      }
      break;
    }
    default: break;
  }
  const TableNode* n = FindNode(t, key);
  return n ? &n->value : &kNilObject;
}

Value* TableSet(VMState* L, Table* t, const Value& key) {
  t->flags = 0;
  const Value* slot = TableGet(t, key);
  if (slot != &kNilObject) return const_cast<Value*>(slot);
  if (key.tag == TagNil) return NewKey(L, t, NumberValue(0));
  if (key.tag == TagNumber && std::isnan(key.n)) RaiseError(L, ERR_TABLEINDEX);
  return NewKey(L, t, key);
}

Value* TableSetInt(VMState* L, Table* t, int32_t n) {
  t->flags = 0;
  const Value* slot = TableGetInt(t, n);
  if (slot != &kNilObject) return const_cast<Value*>(slot);
  return NewKey(L, t, NumberValue(n));
}

Value* TableSetStr(VMState* L, Table* t, InternedString* key) {
  t->flags = 0;
  const Value* slot = TableGetStr(t, key);
  if (slot != &kNilObject) return const_cast<Value*>(slot);
  Value k;
  SetString(&k, key);
  return NewKey(L, t, k);
}

bool TableNext(VMState* L, Table* t, Value* key) {
  uint32_t i;  // position after the key
  if (key->tag == TagNil) {
    i = 0;
  } else {
    uint32_t k = key->tag == TagNumber ? static_cast<uint32_t>(ArrayIndexOf(key->n)) : 0;
    if (k != 0 && k <= t->sizearray) {
      i = k;
    } else {
      Value probe = *key;
      const TableNode* n = FindNode(t, probe);
      if (n == nullptr || (HasDummyNode(t))) RaiseError(L, ERR_INVNEXTKEY);
      i = t->sizearray + static_cast<uint32_t>(n - t->node) + 1;
    }
  }
  for (; i < t->sizearray; ++i) {
    if (t->array[i].tag != TagNil) {
      SetNumber(key, i + 1);
      key[1] = t->array[i];
      return true;
    }
  }
  for (i -= t->sizearray; i < NodeCount(t); ++i) {
    const TableNode& n = t->node[i];
    if (n.value.tag != TagNil) {
      key[0] = n.key;
      key[1] = n.value;
      return true;
    }
  }
  return false;
}

}  // namespace tembrovia
