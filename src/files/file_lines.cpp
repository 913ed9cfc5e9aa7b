#include "files/file_lines.h"

#include "files/file_namespace.h"

namespace tembrovia {

ErrorCode FileLineIterator::Open(std::string_view name, std::unique_ptr<FileLineIterator>& iterator) {
  return Open(name, iterator, DefaultFileNamespace());
}

ErrorCode FileLineIterator::Open(std::string_view name, std::unique_ptr<FileLineIterator>& iterator,
                                 const FileNamespace& names) {
  std::unique_ptr<FileStream> stream = FileStream::Open(name, OpenMode::Read, names);
  if (!stream) return ERR_READFILE;
  iterator = std::make_unique<FileLineIterator>(std::move(stream));
  return ERR_NONE;
}

std::optional<std::string> FileLineIterator::Next() {
  if (!stream_) return std::nullopt;
  std::string line;
  size_t consumed = 0;
  int byte = -1;
  while (consumed < kMaxLineBytes && (byte = stream_->ReadByte()) >= 0) {
    ++consumed;
    if (byte == '\n') break;
    if (byte != '\r') line += static_cast<char>(byte);
  }
  if (consumed == 0) {
    stream_.reset();
    return std::nullopt;
  }
  return line;
}

}  // namespace tembrovia
