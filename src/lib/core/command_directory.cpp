#include "lib/core/command_directory.h"

#include <new>

#include "common/latin1_case.h"

namespace tembrovia {

ErrorCode CommandDirectory::Add(std::string_view library_name,
                                std::span<const CommandEntry> commands) {
  try {
    libraries_.push_back(
        {std::string(library_name.substr(0, kMaxLibraryNameLength)), commands});
    for (const CommandEntry& command : commands) {
      by_function_.try_emplace(command.function, command.name);
      by_lower_name_.try_emplace(Latin1Lower(command.name), command.name);
    }
  } catch (const std::bad_alloc&) {
    return ERR_MEM;
  }
  return ERR_NONE;
}

const char* CommandDirectory::NameOf(NativeFunction function) const {
  auto it = by_function_.find(function);
  return it == by_function_.end() ? nullptr : it->second;
}

const char* CommandDirectory::Spelling(std::string_view name) const {
  auto it = by_lower_name_.find(Latin1Lower(name));
  return it == by_lower_name_.end() ? nullptr : it->second;
}

}  // namespace tembrovia
