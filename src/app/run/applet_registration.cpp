#include "app/run/applet_registration.h"

#include <optional>
#include <string_view>

#include "lib/core/registration.h"

namespace tembrovia {

std::vector<LinkedFile> LinkedFilesOf(const AppletRecords& records) {
  std::vector<LinkedFile> files;
  for (const AppletLinkedFile& file : records.linkedFiles) {
    files.push_back({.name = file.name,
                     .hostPath = records.containerPath,
                     .offset = records.appletOffset + static_cast<uint64_t>(file.offset),
                     .size = static_cast<uint64_t>(file.size)});
  }
  return files;
}

void RegisterAppletRecords(VMState* state, const AppletRecords& records, FileNamespace& files) {
  // A new table each time, as the labels section makes.
  NewTable(state);
  for (const AppletLabel& label : records.labels) {
    PushStringView(state, label.name);
    PushNumber(state, label.instruction);
    RawSet(state, -3);
  }
  SetField(state, kRegistryIndex, kLabelsTable);

  for (const UserConstant& constant : records.userConstants) {
    RegisterUserConstant(state, constant.name,
                         constant.isString ? std::optional<std::string_view>(constant.text)
                                           : std::nullopt,
                         constant.number);
  }
  for (LinkedFile& file : LinkedFilesOf(records)) files.RegisterLinkedFile(std::move(file));
  SetRegistryString(state, kScriptNameField, kScriptMapsLines);
}

}  // namespace tembrovia
