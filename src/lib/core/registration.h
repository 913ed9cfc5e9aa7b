// Registering the command libraries into a VM state, and the start-up sequence.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "common/error_codes.h"
#include "lib/core/library_table.h"

namespace tembrovia {

struct DisplayConfig;
struct PlayerConfig;

// Registry tables of the constants: lower-case name to number or string.
inline constexpr const char* kConstantsTable = "constants";
inline constexpr const char* kUserConstantsTable = "userconstants";

// Registers one library: every command becomes a global under its lower-case (Latin-1) name
// holding a native closure of its function; the table joins the registered-library list;
// the constants go into the registry table "constants". ERR_MEM when out of memory.
ErrorCode RegisterLibrary(VMState* state, std::span<const CommandEntry> commands,
                          std::string_view library_name, std::span<const ConstantEntry> constants);

// Adds constants to the registry table of that name, creating it on first use.
void RegisterConstants(VMState* state, const char* table, std::span<const ConstantEntry> constants);

// One constant of the applet, into "userconstants": the text when given, else the number.
void RegisterUserConstant(VMState* state, std::string_view name,
                          std::optional<std::string_view> text, double number);

// The start-up sequence: the registry fields "applet" and "clargs" (light userdata, null
// allowed), the registry table "inclevels" with "count" = 0, the global "_g" = the globals
// table, then every library in order (registration, then its init with the globals table
// pushed; the first error code ends start-up), then the attribute handlers of every library.
// The state must already have its LibraryRuntime.
ErrorCode StartLibraries(VMState* state, DisplayConfig* applet, PlayerConfig* clargs);

// The same with another list of libraries (tests).
ErrorCode StartLibraries(VMState* state, std::span<const LibraryTable* const> libraries,
                         DisplayConfig* applet, PlayerConfig* clargs);

}  // namespace tembrovia
