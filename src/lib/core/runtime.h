// The command framework's side of one VM state: the host services the VM asks for, the
// registered-library list, the object registry, the engine attributes, the per-library data
// and the hooks the layers library fills in. Commands reach it with Runtime(state).
//
// Lifetime: create it right after the state, before StartLibraries; call Shutdown (or
// destroy it) before CloseState, so that objects can release their references.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lib/core/command_directory.h"
#include "lib/core/engine_attributes.h"
#include "lib/core/object_registry.h"
#include "vm/api.h"

namespace tembrovia {

class DataItems;

// Base of a library's per-state data (its object lists, defaults, current selections).
struct LibraryData {
  virtual ~LibraryData() = default;
};

// What only the layers library knows, handed in once it exists. Without them, layer ids
// give ERR_NOLAYERS and layer names ERR_FINDLAYER.
struct LayerHooks {
  // The data items of the layer named by argument arg (its number or name in the current
  // BGPic); ERR_NOLAYERS, ERR_FINDLAYER (name as text) or ERR_LAYERRANGE when there is none.
  ErrorCode (*find_layer_data)(VMState* state, int arg, DataItems** items) = nullptr;
  // The number of the layer called name in the current BGPic (case-insensitive); false when
  // there is none.
  bool (*find_layer_by_name)(VMState* state, std::string_view name, int* number) = nullptr;
};

class LibraryRuntime : public VMHost {
 public:
  // Becomes the host of state.
  explicit LibraryRuntime(VMState* state);
  ~LibraryRuntime() override;
  LibraryRuntime(const LibraryRuntime&) = delete;
  LibraryRuntime& operator=(const LibraryRuntime&) = delete;

  VMState* state() const { return state_; }

  // Frees every object of every list, then the library data (newest first), while the state
  // still exists. Later calls do nothing.
  void Shutdown();

  // VMHost.
  std::string CommandName(NativeFunction function) override;
  void SetErrorText(std::string_view text) override;
  std::string FormatError(ErrorCode code) override;
  void DebugWrite(std::string_view text) override;

  CommandDirectory& commands() { return commands_; }
  const CommandDirectory& commands() const { return commands_; }
  ObjectRegistry& objects() { return objects_; }
  EngineAttributes& attributes() { return attributes_; }
  LayerHooks& layer_hooks() { return layer_hooks_; }

  // The library data of type T (derived from LibraryData), created on first use.
  template <class T>
  T& Data() {
    static_assert(std::is_base_of_v<LibraryData, T>);
    if (LibraryData* data = FindData(&kDataKey<T>)) return static_cast<T&>(*data);
    return static_cast<T&>(AddData(&kDataKey<T>, std::make_unique<T>()));
  }

 private:
  template <class T>
  static constexpr char kDataKey = 0;  // its address identifies T

  LibraryData* FindData(const void* key) const;
  LibraryData& AddData(const void* key, std::unique_ptr<LibraryData> data);

  VMState* state_;
  CommandDirectory commands_;
  ObjectRegistry objects_;
  EngineAttributes attributes_;
  LayerHooks layer_hooks_;
  std::vector<std::pair<const void*, std::unique_ptr<LibraryData>>> data_;
};

// The runtime that is the host of state. A state without one is a programming error: the
// process stops with a message.
LibraryRuntime& Runtime(VMState* state);

}  // namespace tembrovia
