// The command libraries as data. Every library is one LibraryTable: its name, ONE command
// table (mixed-case name, native function) and an optional constant table, plus optional
// hooks for its own start-up and for engine attributes. The 21 tables are registered in the
// fixed order of LibraryOrder() (library_order.cpp), which is also the order of the command
// export.
//
// Each library folder defines its own table (src/lib/<folder>/library_table.cpp, for example
// `const LibraryTable kStringLibrary{...}`); a library that has no folder yet is an empty
// placeholder in core/pending_library_tables.cpp. See core/README.md.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/error_codes.h"
#include "vm/api.h"

namespace tembrovia {

class LibraryRuntime;

// One script command. Several names may share one function.
struct CommandEntry {
  const char* name;  // mixed case, as exported and shown in messages ("DisplayBrush")
  NativeFunction function;
};

// One script constant (`#NAME`), registered under its lower-case name.
struct ConstantEntry {
  const char* name;          // without "#", any case ("ERR_MEM", "PI")
  const char* text;          // the value when it is a string, else nullptr
  double number;             // the value when text is nullptr
};

// Library-specific start-up (object lists, defaults), run after the library's commands and
// constants are registered, with the globals table pushed. A code other than 0 ends start-up.
using LibraryInit = ErrorCode (*)(VMState* state, LibraryRuntime& runtime);

// Engine attributes: handlers answer by numeric id and return true when they took the id.
using SetAttributeHandler = bool (*)(VMState* state, int id, intptr_t value);
using GetAttributeHandler = bool (*)(VMState* state, int id, intptr_t* value);

struct LibraryTable {
  const char* name;                         // "string", "math", ... (at most 63 characters)
  std::span<const CommandEntry> commands = {};  // only the commands the library implements
  std::span<const ConstantEntry> constants = {};
  LibraryInit init = nullptr;
  SetAttributeHandler set_attribute = nullptr;
  GetAttributeHandler get_attribute = nullptr;
};

// The tables of the 21 libraries, in registration order.
extern const LibraryTable kStringLibrary;
extern const LibraryTable kMathLibrary;
extern const LibraryTable kGraphicsLibrary;
extern const LibraryTable kDrawLibrary;
extern const LibraryTable kMoveObjectLibrary;
extern const LibraryTable kDosLibrary;
extern const LibraryTable kEventLibrary;
extern const LibraryTable kSystemLibrary;
extern const LibraryTable kLayersLibrary;
extern const LibraryTable kTextLibrary;
extern const LibraryTable kAnimLibrary;
extern const LibraryTable kDisplayLibrary;
extern const LibraryTable kSoundLibrary;
extern const LibraryTable kBrushLibrary;
extern const LibraryTable kBgPicLibrary;
extern const LibraryTable kTransitionFxLibrary;
extern const LibraryTable kSpriteLibrary;
extern const LibraryTable kMemBlockLibrary;
extern const LibraryTable kVectorGraphicsLibrary;
extern const LibraryTable kNetworkLibrary;
extern const LibraryTable kVideoLibrary;

constexpr size_t kLibraryCount = 21;

// The 21 tables in their fixed order ("string" first, "video" last).
std::span<const LibraryTable* const> LibraryOrder();

// Joins constant tables into one at compile time, so that a library keeps a single table
// even when part of it is derived from elsewhere (the ERR_ constants of the system library):
//   constexpr auto kSystemConstants = JoinConstants(kOwnConstants, kErrorConstants);
template <size_t N, size_t M>
constexpr std::array<ConstantEntry, N + M> JoinConstants(const std::array<ConstantEntry, N>& a,
                                                         const std::array<ConstantEntry, M>& b) {
  std::array<ConstantEntry, N + M> joined{};
  for (size_t i = 0; i < N; ++i) joined[i] = a[i];
  for (size_t i = 0; i < M; ++i) joined[N + i] = b[i];
  return joined;
}

}  // namespace tembrovia
