// What the container's records give the rest of the player once the applet is read: its
// labels (registry table "labels"), its user constants ("userconstants"), its linked files
// (the file layer, so that scripts open them by their stored names), and the registry field
// "script" = ":none:", which tells the error report to find file and line through the
// applet's line map.
#pragma once

#include "app/container/applet_records.h"
#include "common/error_codes.h"
#include "files/file_namespace.h"
#include "vm/api.h"

namespace tembrovia {

inline constexpr const char* kLabelsTable = "labels";
inline constexpr const char* kScriptNameField = "script";
inline constexpr const char* kScriptMapsLines = ":none:";

// Registers the records into the state and the file namespace. Run it protected: the VM
// raises ERR_MEM when memory runs out.
void RegisterAppletRecords(VMState* state, const AppletRecords& records, FileNamespace& files);

// The linked files' entries for the file layer: data offsets count from the container's
// start, which lies at records.appletOffset in records.containerPath.
std::vector<LinkedFile> LinkedFilesOf(const AppletRecords& records);

}  // namespace tembrovia
