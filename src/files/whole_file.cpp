#include "files/whole_file.h"

#include <memory>

#include "files/file_namespace.h"
#include "files/file_stream.h"

namespace tembrovia {

ErrorCode ReadWholeFile(std::string_view name, std::string& bytes) {
  return ReadWholeFile(name, bytes, DefaultFileNamespace());
}

ErrorCode ReadWholeFile(std::string_view name, std::string& bytes, const FileNamespace& names) {
  std::unique_ptr<FileStream> in = FileStream::Open(name, OpenMode::Read, names);
  if (!in) return ERR_READFILE;
  std::string result;
  try {
    result.resize(static_cast<size_t>(in->Size()));
  } catch (const std::exception&) {
    return ERR_MEM;
  }
  if (in->Read(result.data(), result.size()) != result.size()) return ERR_READ;
  bytes = std::move(result);
  return ERR_NONE;
}

ErrorCode WriteWholeFile(std::string_view name, std::string_view bytes) {
  return WriteWholeFile(name, bytes, DefaultFileNamespace());
}

ErrorCode WriteWholeFile(std::string_view name, std::string_view bytes, const FileNamespace& names) {
  std::unique_ptr<FileStream> out = FileStream::Open(name, OpenMode::Write, names);
  if (!out) return ERR_WRITEFILE;
  if (out->Write(bytes.data(), bytes.size()) != bytes.size() || !out->Close()) return ERR_WRITE;
  return ERR_NONE;
}

}  // namespace tembrovia
