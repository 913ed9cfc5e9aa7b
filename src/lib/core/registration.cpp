#include "lib/core/registration.h"

#include <string>

#include "common/latin1_case.h"
#include "lib/core/runtime.h"

namespace tembrovia {
namespace {

// Pushes the registry table of that name, creating it on first use.
void PushRegistryTable(VMState* state, const char* name) {
  GetField(state, kRegistryIndex, name);
  if (IsTable(state, -1)) return;
  Pop(state, 1);
  NewTable(state);
  PushValue(state, -1);
  SetField(state, kRegistryIndex, name);
}

void PushLowerName(VMState* state, std::string_view name) {
  PushStringView(state, Latin1Lower(name));
}

}  // namespace

ErrorCode RegisterLibrary(VMState* state, std::span<const CommandEntry> commands,
                          std::string_view library_name, std::span<const ConstantEntry> constants) {
  for (const CommandEntry& command : commands) {
    PushLowerName(state, command.name);
    PushNativeFunction(state, command.function);
    SetTable(state, kGlobalsIndex);
  }
  if (ErrorCode error = Runtime(state).commands().Add(library_name, commands)) return error;
  if (!constants.empty()) RegisterConstants(state, kConstantsTable, constants);
  return ERR_NONE;
}

void RegisterConstants(VMState* state, const char* table, std::span<const ConstantEntry> constants) {
  PushRegistryTable(state, table);
  for (const ConstantEntry& constant : constants) {
    PushLowerName(state, constant.name);
    if (constant.text != nullptr) {
      PushString(state, constant.text);
    } else {
      PushNumber(state, constant.number);
    }
    SetTable(state, -3);
  }
  Pop(state, 1);
}

void RegisterUserConstant(VMState* state, std::string_view name,
                          std::optional<std::string_view> text, double number) {
  PushRegistryTable(state, kUserConstantsTable);
  PushLowerName(state, name);
  if (text) {
    PushStringView(state, *text);
  } else {
    PushNumber(state, number);
  }
  SetTable(state, -3);
  Pop(state, 1);
}

ErrorCode StartLibraries(VMState* state, DisplayConfig* applet, PlayerConfig* clargs) {
  return StartLibraries(state, LibraryOrder(), applet, clargs);
}

namespace {

struct StartupRequest {
  std::span<const LibraryTable* const> libraries;
  DisplayConfig* applet;
  PlayerConfig* clargs;
};

ErrorCode RegisterAll(VMState* state, const StartupRequest& request) {
  LibraryRuntime& runtime = Runtime(state);
  SetRegistryPointer(state, "applet", request.applet);
  SetRegistryPointer(state, "clargs", request.clargs);

  NewTable(state);
  PushNumber(state, 0);
  SetField(state, -2, "count");
  SetField(state, kRegistryIndex, "inclevels");

  PushValue(state, kGlobalsIndex);
  SetGlobal(state, "_g");

  for (const LibraryTable* library : request.libraries) {
    ErrorCode error = RegisterLibrary(state, library->commands, library->name, library->constants);
    if (error == ERR_NONE && library->init != nullptr) {
      const int top = GetTop(state);
      PushValue(state, kGlobalsIndex);
      error = library->init(state, runtime);
      SetTop(state, top);
    }
    if (error != ERR_NONE) return error;
  }

  for (const LibraryTable* library : request.libraries) {
    if (library->set_attribute == nullptr) continue;
    if (ErrorCode error = runtime.attributes().AddSetHandler(library->set_attribute)) return error;
  }
  for (const LibraryTable* library : request.libraries) {
    if (library->get_attribute == nullptr) continue;
    if (ErrorCode error = runtime.attributes().AddGetHandler(library->get_attribute)) return error;
  }
  return ERR_NONE;
}

// Runs the registration as a native function, so that a VM error on the way (out of memory)
// ends start-up with its code instead of unwinding past the caller.
int RunStartup(VMState* state) {
  return RegisterAll(state, *static_cast<const StartupRequest*>(ToUserdata(state, UpvalueIndex(1))));
}

}  // namespace

ErrorCode StartLibraries(VMState* state, std::span<const LibraryTable* const> libraries,
                         DisplayConfig* applet, PlayerConfig* clargs) {
  StartupRequest request{libraries, applet, clargs};
  PushLightUserdata(state, &request);
  PushNativeClosure(state, RunStartup, 1);
  return ProtectedCall(state, 0, 0);
}

}  // namespace tembrovia
