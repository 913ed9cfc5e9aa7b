#include "files/file_checksum.h"

#include <zlib.h>

#include <functional>
#include <memory>

#include "common/md5.h"
#include "files/file_namespace.h"
#include "files/file_stream.h"

namespace tembrovia {
namespace {

// Feeds the whole file to `consume` in blocks.
ErrorCode ForEachBlock(std::string_view name, const FileNamespace& names,
                       const std::function<void(const uint8_t*, size_t)>& consume) {
  if (name.empty()) return ERR_WRONGUSAGE;
  std::unique_ptr<FileStream> in = FileStream::Open(name, OpenMode::Read, names);
  if (!in) return ERR_READFILE;
  uint8_t block[16384];
  while (size_t got = in->Read(block, sizeof block)) consume(block, got);
  return in->AtEnd() ? ERR_NONE : ERR_READ;
}

}  // namespace

ErrorCode FileCrc32(std::string_view name, uint32_t& crc) { return FileCrc32(name, crc, DefaultFileNamespace()); }

ErrorCode FileCrc32(std::string_view name, uint32_t& crc, const FileNamespace& names) {
  uLong value = crc32(0, nullptr, 0);
  ErrorCode error = ForEachBlock(name, names, [&](const uint8_t* data, size_t size) {
    value = crc32_z(value, data, size);
  });
  if (error == ERR_NONE) crc = static_cast<uint32_t>(value);
  return error;
}

ErrorCode FileMd5(std::string_view name, std::string& digest) { return FileMd5(name, digest, DefaultFileNamespace()); }

ErrorCode FileMd5(std::string_view name, std::string& digest, const FileNamespace& names) {
  Md5 md5;
  ErrorCode error = ForEachBlock(name, names, [&](const uint8_t* data, size_t size) { md5.Update(data, size); });
  if (error == ERR_NONE) digest = DigestToHex(md5.Finish());
  return error;
}

}  // namespace tembrovia
