// Any bytes as a catalog file, structured or text; every lookup must stay inside the data.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lib/system/catalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  // Half of the inputs get a valid structured header, so the entry walk is reached often.
  if (size > 0 && data[0] & 1) bytes.insert(0, std::string("FORM\0\0\0\0CTLGFVER", 16) + std::string(88, '\0') + "STRS");
  std::optional<tembrovia::Catalog> catalog = tembrovia::Catalog::FromBytes(bytes);
  if (!catalog) return 0;
  for (int64_t id : {INT64_MIN, int64_t{-1}, int64_t{0}, int64_t{1}, int64_t{2}, int64_t{7}, int64_t{1000},
                     int64_t{0xFFFFFFFF}, INT64_MAX}) {
    if (std::optional<std::string_view> text = catalog->Find(id)) {
      volatile char sink = 0;
      for (char c : *text) sink = sink ^ c;
    }
  }
  return 0;
}
