// Interned strings: one InternedString per distinct byte sequence, found through the string
// table's hash chains.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vm/state.h"

namespace tembrovia {

uint32_t StringHash(const char* bytes, size_t length);

InternedString* InternString(VMState* L, const char* bytes, size_t length);
inline InternedString* InternString(VMState* L, std::string_view text) {
  return InternString(L, text.data(), text.size());
}

// Changes the number of buckets (a power of two).
void ResizeStringTable(VMState* L, uint32_t newSize);

inline size_t StringBytes(uint32_t length) { return sizeof(InternedString) + length + 1; }

inline std::string_view View(const InternedString* s) { return {s->data(), s->length}; }

}  // namespace tembrovia
