// A read-only file handle over the fuzzer's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "files/file_handle.h"
#include "files/file_stream.h"

namespace tembrovia {

inline std::unique_ptr<FileHandle> FuzzHandle(const uint8_t* data, size_t size) {
  auto bytes = std::make_shared<const std::string>(reinterpret_cast<const char*>(data), size);
  return std::make_unique<FileHandle>(FileStream::FromString(bytes), OpenMode::Read, kModeReadConstant);
}

}  // namespace tembrovia
