// Files that live only as long as the run: the decompressed applet, for one. All are
// deleted when the list goes away.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tembrovia {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

struct TemporaryFile {
  std::string path;
  FilePointer file;  // open for writing
};

class TemporaryFiles {
 public:
  TemporaryFiles() = default;
  ~TemporaryFiles() { RemoveAll(); }
  TemporaryFiles(const TemporaryFiles&) = delete;
  TemporaryFiles& operator=(const TemporaryFiles&) = delete;

  // A new empty file in the temporary directory, registered for deletion; a null file
  // when none can be created.
  TemporaryFile Create(const std::string& prefix);
  void RemoveAll();
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

}  // namespace tembrovia
