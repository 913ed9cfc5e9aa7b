// The registered-library list: every registered command table with its library's name, in
// registration order. It feeds the command export and gives the mixed-case spelling of a
// command for error contexts and the call trace.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/error_codes.h"
#include "lib/core/library_table.h"

namespace tembrovia {

struct RegisteredLibrary {
  std::string name;  // at most kMaxLibraryNameLength characters
  std::span<const CommandEntry> commands;
};

constexpr size_t kMaxLibraryNameLength = 63;

class CommandDirectory {
 public:
  // Appends a command table; ERR_MEM when out of memory.
  ErrorCode Add(std::string_view library_name, std::span<const CommandEntry> commands);

  const std::vector<RegisteredLibrary>& libraries() const { return libraries_; }

  // The spelling of the first registered command with this function; nullptr when none.
  const char* NameOf(NativeFunction function) const;

  // The spelling of the command registered under this name in any case; nullptr when none.
  const char* Spelling(std::string_view name) const;

 private:
  std::vector<RegisteredLibrary> libraries_;
  std::unordered_map<NativeFunction, const char*> by_function_;
  std::unordered_map<std::string, const char*> by_lower_name_;
};

}  // namespace tembrovia
