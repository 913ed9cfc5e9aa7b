#include "lib/core/runtime.h"

#include <cstdio>
#include <cstdlib>

#include "common/debug_output.h"
#include "common/error_state.h"
#include "common/format_error.h"

namespace tembrovia {

LibraryRuntime::LibraryRuntime(VMState* state) : state_(state) { SetHost(state_, this); }

LibraryRuntime::~LibraryRuntime() {
  Shutdown();
  if (GetHost(state_) == this) SetHost(state_, nullptr);
}

void LibraryRuntime::Shutdown() {
  objects_.FreeAll(state_);
  while (!data_.empty()) data_.pop_back();
}

std::string LibraryRuntime::CommandName(NativeFunction function) {
  const char* name = commands_.NameOf(function);
  return name ? std::string(name) : std::string();
}

void LibraryRuntime::SetErrorText(std::string_view text) { tembrovia::SetErrorText(text); }

std::string LibraryRuntime::FormatError(ErrorCode code) { return tembrovia::FormatError(code); }

void LibraryRuntime::DebugWrite(std::string_view text) { DebugWriteText(text); }

LibraryData* LibraryRuntime::FindData(const void* key) const {
  for (const auto& [data_key, data] : data_) {
    if (data_key == key) return data.get();
  }
  return nullptr;
}

LibraryData& LibraryRuntime::AddData(const void* key, std::unique_ptr<LibraryData> data) {
  data_.emplace_back(key, std::move(data));
  return *data_.back().second;
}

LibraryRuntime& Runtime(VMState* state) {
  auto* runtime = dynamic_cast<LibraryRuntime*>(GetHost(state));
  if (runtime == nullptr) {
    std::fputs("internal error: a command ran on a VM state without its library runtime\n",
               stderr);
    std::abort();
  }
  return *runtime;
}

}  // namespace tembrovia
