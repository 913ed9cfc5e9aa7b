#include "vm/string_table.h"

#include <cstring>

#include "vm/memory.h"

namespace tembrovia {

uint32_t StringHash(const char* bytes, size_t length) {
  uint32_t l = static_cast<uint32_t>(length);
  uint32_t h = l;
  uint32_t step = (l >> 5) + 1;
  for (uint32_t i = l; i >= step; i -= step) {
    h ^= (h << 5) + (h >> 2) + static_cast<unsigned char>(bytes[i - 1]);
  }
  return h;
}

void ResizeStringTable(VMState* L, uint32_t newSize) {
  GlobalState* g = G(L);
  InternedString** buckets = AllocateArray<InternedString*>(L, newSize);
  for (uint32_t i = 0; i < newSize; ++i) buckets[i] = nullptr;
  for (uint32_t i = 0; i < g->stringTableSize; ++i) {
    InternedString* s = g->strings[i];
    while (s != nullptr) {
      InternedString* following = static_cast<InternedString*>(s->next);
      uint32_t slot = s->hash & (newSize - 1);
      s->next = buckets[slot];
      buckets[slot] = s;
      s = following;
    }
  }
  FreeArray(L, g->strings, g->stringTableSize);
  g->strings = buckets;
  g->stringTableSize = newSize;
}

InternedString* InternString(VMState* L, const char* bytes, size_t length) {
  GlobalState* g = G(L);
  if (length >= 0xFFFFFFF0u) RaiseError(L, ERR_MEM);
  uint32_t h = StringHash(bytes, length);
  for (InternedString* s = g->strings[h & (g->stringTableSize - 1)]; s != nullptr;
       s = static_cast<InternedString*>(s->next)) {
    if (s->length == length && std::memcmp(s->data(), bytes, length) == 0) return s;
  }
  void* block = Allocate(L, nullptr, 0, StringBytes(static_cast<uint32_t>(length)));
  InternedString* s = new (block) InternedString{};
  s->tag = TagString;
  s->marked = 0;
  s->reserved = 0;
  s->hash = h;
  s->length = static_cast<uint32_t>(length);
  if (length > 0) std::memcpy(s->data(), bytes, length);
  s->data()[length] = '\0';
  uint32_t slot = h & (g->stringTableSize - 1);
  s->next = g->strings[slot];
  g->strings[slot] = s;
  g->stringCount++;
  if (g->stringCount > g->stringTableSize && g->stringTableSize <= 0x3FFFFFFEu) {
    ResizeStringTable(L, g->stringTableSize * 2);
  }
  return s;
}

}  // namespace tembrovia
