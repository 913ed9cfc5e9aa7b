// ReadFunction on arbitrary bytes, at position 0 and after a skipped prefix; a record that
// reads is loaded as the command loads it.
#include <cstdlib>

#include "files/function_record.h"
#include "fuzz_handle.h"
#include "fuzz_vm.h"
#include "lib/dos/script_values.h"

using namespace tembrovia;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto handle = FuzzHandle(data, size);
  std::string chunk;
  if (ReadFunctionRecord(*handle, chunk) == ERR_NONE) {
    if (handle->Position() > handle->Length()) std::abort();
    RunInFuzzState([&chunk](VMState* state) { PushLoadedFunction(state, chunk); });
  }
  if (size > 1) {
    handle->Seek(data[0] % size);
    ReadFunctionRecord(*handle, chunk);
  }
  return 0;
}
