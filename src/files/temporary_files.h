// Temporary files the player creates (GetTempFileName, copies of virtual programs, the
// expanded compressed applet): created atomically with mkstemps and kept on disk until the
// end of the run, when DeleteAll removes every one of them.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tembrovia {

class TemporaryFiles {
 public:
  // A new empty file "vx" + six random characters + `extension` (".exe", or empty) in the
  // temporary directory ($TMPDIR, else /tmp); its full path, or nullopt when it cannot be
  // created. The file stays on disk, so no other process can take the name.
  std::optional<std::string> Create(std::string_view extension = {});
  // Adds a file made elsewhere to the list.
  void Remember(std::string path);
  // Deletes every remembered file and forgets them.
  void DeleteAll();
  size_t Count() const;

  // The temporary copy made for a virtual program name, reused by later launches.
  std::optional<std::string> CopyFor(std::string_view virtualName) const;
  void SetCopyFor(std::string_view virtualName, std::string path);

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> paths_;
  std::map<std::string, std::string, std::less<>> copies_;
};

// The player's one list (the driver calls DeleteAll at the end of the run).
TemporaryFiles& DefaultTemporaryFiles();

}  // namespace tembrovia
