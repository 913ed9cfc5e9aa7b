// ReadTable on arbitrary bytes: the record reader, then the script table the command builds
// from it. What the reader accepts must write back to the same bytes' meaning (read, write,
// read again gives the same tree), and the script table built from it must be writable by
// WriteTable (same limits on both sides).
#include <cstdlib>

#include "files/table_record.h"
#include "fuzz_handle.h"
#include "fuzz_vm.h"
#include "lib/dos/script_values.h"

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

  RunInFuzzState([&table](VMState* state) {
    if (PushSerialTable(state, table) != ERR_NONE) return;
    SerialTable written;
    std::string bytes;
    if (TableToSerial(state, -1, written) != ERR_NONE) std::abort();
    if (EncodeTableRecord(written, FunctionForm::Text, bytes) != ERR_NONE) std::abort();
  });
  return 0;
}
