// The system library's table. It lives here until src/lib/system takes it over: move this
// file there (and its line in core/CMakeLists.txt to that folder's list).
#include "lib/core/core_commands.h"
#include "lib/core/error_constants.h"
#include "lib/core/library_table.h"

namespace tembrovia {
namespace {

constexpr CommandEntry kSystemCommands[] = {
    {"ClearObjectData", CmdClearObjectData},
    {"CopyObjectData", CmdCopyObjectData},
    {"DebugPrint", CmdDebugPrint},
    {"DebugStr", CmdDebugPrint},
    {"DebugVal", CmdDebugPrint},
    {"GetConstant", CmdGetConstant},
    {"GetObjectData", CmdGetObjectData},
    {"GetObjects", CmdGetObjects},
    {"GetObjectType", CmdGetObjectType},
    {"HaveObject", CmdHaveObject},
    {"SetObjectData", CmdSetObjectData},
};

// The library's own constants join the error codes' here.
constexpr const auto& kSystemConstants = kErrorConstants;

}  // namespace

const LibraryTable kSystemLibrary{"system", kSystemCommands, kSystemConstants};

}  // namespace tembrovia
