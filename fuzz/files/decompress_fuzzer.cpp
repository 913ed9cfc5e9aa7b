// The VXPK decompressor on arbitrary bytes ("VXPK" header prepended half of the time, so
// the zlib path is reached).
#include <string>

#include "files/file_stream.h"
#include "files/vxpk.h"

using namespace tembrovia;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (size > 0 && (data[0] & 1)) bytes = std::string("VXPK\0\0\0\0", 8) + bytes.substr(1);
  auto in = FileStream::FromString(std::make_shared<const std::string>(std::move(bytes)));
  auto out = FileStream::CreateInMemory();
  DecompressStream(*in, *out);
  return 0;
}
