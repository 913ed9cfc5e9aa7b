// The names the file layer understands beyond plain host paths, and the tables behind them:
//   - "PROGDIR:" prefix: the directory of the player's executable (set by the driver);
//   - files linked into the applet: a table the driver fills while reading the container;
//     opening such a name for reading gives a window onto the container file;
//   - virtual string files: strings a script defined, each named by a key into a table here.
//
// Usage by the driver:
//   FileNamespace& files = DefaultFileNamespace();
//   files.SetProgramDirectory(ExecutableDirectory());
//   for each linked-file record of the container:
//     files.RegisterLinkedFile({.name = storedName, .hostPath = containerPath,
//                               .offset = absoluteOffset, .size = size});
// after which FileStream::Open(storedName, OpenMode::Read) opens a window of `size` bytes at
// `offset` in the container file, and LinkedFileName(storedName) gives its ":::chunk" name.
// Lookups ignore case (Latin-1) and treat "/" and the backslash alike.
//
// All members are safe to call from any thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace tembrovia {

struct LinkedFile {
  std::string name;       // the name scripts open, as stored in the applet
  std::string hostPath;   // the container file (a host path)
  uint64_t offset = 0;    // absolute byte offset of the data in hostPath
  uint64_t size = 0;      // byte count
};

class FileNamespace {
 public:
  // "PROGDIR:" -----------------------------------------------------------------------------
  // `directory` may be given with or without a trailing "/".
  void SetProgramDirectory(std::string directory);
  std::string ProgramDirectory() const;   // with a trailing "/" (empty until set)
  // Replaces a leading "PROGDIR:" with the program directory; other names are returned as
  // they are.
  std::string ExpandProgramDirectory(std::string_view name) const;
  // The host path of a name that is neither linked nor virtual: "PROGDIR:" expanded and
  // every backslash made a "/".
  std::string ToHostPath(std::string_view name) const;

  // Linked files -----------------------------------------------------------------------------
  // A later registration under the same name replaces the earlier one.
  void RegisterLinkedFile(LinkedFile file);
  void ClearLinkedFiles();
  // The ":::chunk" window name of a linked file, or nullopt when `name` is not linked.
  std::optional<std::string> LinkedFileName(std::string_view name) const;

  // Virtual string files ---------------------------------------------------------------------
  // Keeps `data` and returns its ":::chunkS" name (visible name: last component of
  // `visibleName`). Keys are never reused within one namespace.
  std::string DefineStringFile(std::string data, std::string_view visibleName);
  // Forgets a string file; false when `name` is not the name of a defined one. Streams open
  // on it keep its bytes.
  bool UndefineStringFile(std::string_view name);
  // The bytes of a defined string file, checked against the whole name (key, length and
  // token must all match); null otherwise.
  std::shared_ptr<const std::string> FindStringFile(std::string_view name) const;
  size_t StringFileCount() const;

 private:
  mutable std::mutex mutex_;
  std::string programDirectory_;
  std::map<std::string, LinkedFile> linked_;   // key: normalised name
  std::map<uint64_t, std::shared_ptr<const std::string>> strings_;
  uint64_t nextStringKey_ = 1;
};

// The namespace FileStream::Open uses when none is given: the player's one instance.
FileNamespace& DefaultFileNamespace();

// The directory holding the running executable, with a trailing "/" (empty if unknown).
std::string ExecutableDirectory();

}  // namespace tembrovia
