// The iterator behind FileLines: one line per call, the stream closed at the end (or when
// the iterator is destroyed: the binding destroys it from the closure's finaliser when a
// script abandons the loop).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/error_codes.h"
#include "files/file_stream.h"

namespace tembrovia {

class FileNamespace;

class FileLineIterator {
 public:
  // Longer lines are returned in pieces of this many bytes, one per call.
  static constexpr size_t kMaxLineBytes = 1024;

  // ERR_READFILE when the file cannot be opened for reading.
  static ErrorCode Open(std::string_view name, std::unique_ptr<FileLineIterator>& iterator);
  static ErrorCode Open(std::string_view name, std::unique_ptr<FileLineIterator>& iterator,
                        const FileNamespace& names);
  explicit FileLineIterator(std::unique_ptr<FileStream> stream) : stream_(std::move(stream)) {}

  // The next line without its line feed and carriage returns; nullopt at the end of the
  // file, after which the stream is closed and every later call returns nullopt too.
  std::optional<std::string> Next();
  bool IsOpen() const { return stream_ != nullptr; }

 private:
  std::unique_ptr<FileStream> stream_;
};

}  // namespace tembrovia
