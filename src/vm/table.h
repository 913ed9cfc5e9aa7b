// Script tables: an array part for the integer keys 1..sizearray and a hash part of
// 2^lsizenode nodes with chained collision lists (a node is free when its value is nil).
#pragma once

#include <cstdint>

#include "vm/state.h"

namespace tembrovia {

constexpr int kMaxTableBits = 24;

Table* NewTable(VMState* L, uint32_t arraySize, int log2HashSize);
void FreeTable(VMState* L, Table* t);
size_t TableBytes(const Table* t);

inline uint32_t NodeCount(const Table* t) { return 1u << t->lsizenode; }
inline bool HasDummyNode(const Table* t) { return t->lsizenode == 0; }

const Value* TableGetIntHash(const Table* t, int32_t n);
inline const Value* TableGetInt(const Table* t, int32_t n) {
  if (static_cast<uint32_t>(n) - 1u < t->sizearray) return &t->array[n - 1];
  return TableGetIntHash(t, n);
}

inline const Value* TableGetStr(const Table* t, const InternedString* key) {
  const TableNode* n = &t->node[key->hash & (NodeCount(t) - 1)];
  do {
    if (n->key.tag == TagString && n->key.gc == key) return &n->value;
    n = n->next;
  } while (n != nullptr);
  return &kNilObject;
}

const Value* TableGet(const Table* t, const Value& key);

// The slot for key, created when absent (value nil); raises ERR_TABLEINDEX for NaN.
Value* TableSet(VMState* L, Table* t, const Value& key);
Value* TableSetInt(VMState* L, Table* t, int32_t n);
Value* TableSetStr(VMState* L, Table* t, InternedString* key);

// The iteration step: false at the end, else the next key and value in key[0], key[1].
bool TableNext(VMState* L, Table* t, Value* key);

// Reads a number as an array index when it is an integer in 1..2^31-1, else 0.
inline int32_t ArrayIndexOf(double d) {
  if (!(d >= 1.0 && d <= 2147483647.0)) return 0;
  int32_t k = static_cast<int32_t>(d);
  return static_cast<double>(k) == d ? k : 0;
}

}  // namespace tembrovia
