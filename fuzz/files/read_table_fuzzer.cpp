// ReadTable's record reader on arbitrary bytes; what it accepts must write back to the
// same bytes' meaning (read, write, read again gives the same tree).
#include <cstdlib>

#include "files/table_record.h"
#include "fuzz_handle.h"

using namespace tembrovia;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto handle = FuzzHandle(data, size);
  SerialTable table;
  if (ReadTableRecord(*handle, table) != ERR_NONE) return 0;
  std::string record;
  if (EncodeTableRecord(table, FunctionForm::Binary, record) != ERR_NONE) std::abort();
  auto again = FuzzHandle(reinterpret_cast<const uint8_t*>(record.data()), record.size());
  SerialTable back;
  if (ReadTableRecord(*again, back) != ERR_NONE) std::abort();
  // NaN keys and values compare unequal to themselves; compare the encodings instead.
  std::string second;
  if (EncodeTableRecord(back, FunctionForm::Binary, second) != ERR_NONE || second != record) std::abort();
  return 0;
}
