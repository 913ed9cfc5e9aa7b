#include "lib/core/exports.h"

#include <cstdio>
#include <memory>

#include "common/error_state.h"
#include "lib/core/registration.h"

namespace tembrovia {
namespace {

void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.push_back('\n');
}

}  // namespace

std::string CommandExport(const CommandDirectory& commands) {
  std::string out;
  for (const RegisteredLibrary& library : commands.libraries()) {
    AppendLine(out, "::" + library.name);
    AppendLine(out, std::to_string(library.commands.size()));
    for (const CommandEntry& command : library.commands) AppendLine(out, command.name);
  }
  AppendLine(out, "::end");
  return out;
}

std::string ConstantExport(VMState* state) {
  std::string out;
  GetField(state, kRegistryIndex, kConstantsTable);
  if (IsTable(state, -1)) {
    PushNil(state);
    while (Next(state, -2) != 0) {
      Pop(state, 1);  // the value; the key stays for the next step
      if (Type(state, -1) == TagString) {
        size_t length = 0;
        const char* name = ToLString(state, -1, &length);
        AppendLine(out, std::string_view(name, length));
      }
    }
  }
  Pop(state, 1);
  return out;
}

std::string PluginExport(std::span<const PluginExportInfo> plugins) {
  std::string out;
  char line[32];
  for (const PluginExportInfo& plugin : plugins) {
    AppendLine(out, "::plugin");
    std::snprintf(line, sizeof line, "%d.%d", plugin.version, plugin.revision);
    AppendLine(out, line);
    std::snprintf(line, sizeof line, "0x%.8x", static_cast<unsigned>(plugin.capabilities));
    AppendLine(out, line);
    for (const std::string& text : plugin.texts) AppendLine(out, text);
    if (plugin.adds_commands) {
      AppendLine(out, "::commands");
      for (const std::string& command : plugin.commands) AppendLine(out, plugin.base_name + "." + command);
      AppendLine(out, "::constants");
      for (const std::string& constant : plugin.constants) AppendLine(out, constant);
    }
  }
  AppendLine(out, "::end");
  return out;
}

ErrorCode WriteExportFile(const std::string& path, std::string_view text) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
  bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  if (file) ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) {
    SetErrorText(path);
    return ERR_WRITEFILE;
  }
  return ERR_NONE;
}

}  // namespace tembrovia
