// The string library's table. It lives here until src/lib/string takes it over: move this
// file there (and its line in core/CMakeLists.txt to that folder's list).
#include "lib/core/core_commands.h"
#include "lib/core/library_table.h"

namespace tembrovia {
namespace {

constexpr CommandEntry kStringCommands[] = {
    {"ToString", CmdToString},
};

}  // namespace

const LibraryTable kStringLibrary{"string", kStringCommands};

}  // namespace tembrovia
