// ReadFunction's record reader on arbitrary bytes, at position 0 and after a skipped prefix.
#include <cstdlib>

#include "files/function_record.h"
#include "fuzz_handle.h"

using namespace tembrovia;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto handle = FuzzHandle(data, size);
  std::string chunk;
  if (ReadFunctionRecord(*handle, chunk) == ERR_NONE && handle->Position() > handle->Length()) std::abort();
  if (size > 1) {
    handle->Seek(data[0] % size);
    ReadFunctionRecord(*handle, chunk);
  }
  return 0;
}
