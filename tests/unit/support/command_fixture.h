// The command test fixture: a VM state with every library registered, in which a test calls
// a command by name and gets its results, or its error code and formatted message, in one
// line:
//
//   CommandFixture fx;                         // or derive the test from CommandTest
//   auto r = fx.Call("StrLen", {"abc"});
//   EXPECT_EQ(r.number(0), 3);
//   auto e = fx.Call("StrLen", {});
//   EXPECT_EQ(e.error, ERR_MISSINGPARAMTR);
//   EXPECT_EQ(e.message, "Not enough arguments!");
//
// Arguments: numbers, strings (const char*, std::string), bools, kNil, Arg::Handle(p),
// Arg::List({...}) (keys 0, 1, ...), Arg::Table({{"key", value}, ...}), Arg::Function(f),
// Arg::Global("name"), and any ScriptValue from an earlier result, passed back as the very
// same value (a handle returned by a creating command, a table...).
//
// Results are snapshots: numbers, strings, booleans and pointers, and tables with their
// pairs (nested tables too). Asking a result for the wrong type or a missing index fails the
// running test.
//
// Everything written to the debug channel (DebugPrint, the call trace, engine messages)
// is captured: TakeDebugOutput() returns what came since the last call.
//
// Run(text) assembles a chunk in the toolkit's text form (tools/README.md; `#NAME`
// constants resolve against the player's tables) and runs it as the main chunk. A script
// that fails sets the VM's stop flag (as at the end of a run), which stays set: give every
// failing script a fixture of its own.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/error_codes.h"
#include "lib/core/library_table.h"
#include "lib/core/runtime.h"
#include "vm/api.h"

namespace tembrovia {

// A script value as a command returned it.
struct ScriptValue {
  int type = TagNone;
  double number = 0;
  bool boolean = false;
  std::string text;               // strings
  const void* pointer = nullptr;  // tables, functions, userdata, light userdata, threads
  std::vector<ScriptValue> keys;  // tables: the pairs, in traversal order
  std::vector<ScriptValue> values;
  int ref = kNoRef;               // the live value, kept in the registry for passing back

  bool is_nil() const { return type == TagNil; }
  // The value at a string key or a number key; nullptr when the table has none.
  const ScriptValue* Field(std::string_view key) const;
  const ScriptValue* Item(double key) const;
  // The number of items at keys 0, 1, 2, ... up to the first missing one.
  size_t ItemCount() const;
};

class Arg {
 public:
  // Numbers and enumerators (kTypeBrush, ERR_...).
  template <class T>
    requires((std::is_arithmetic_v<T> || std::is_enum_v<T>) && !std::is_same_v<T, bool>)
  Arg(T number) : kind_(Kind::kNumber), number_(static_cast<double>(number)) {}
  // Only a real bool: a pointer never turns into one by accident.
  template <class T>
    requires std::is_same_v<T, bool>
  Arg(T value) : kind_(Kind::kBoolean), number_(value ? 1 : 0) {}
  Arg(const char* text) : kind_(Kind::kString), text_(text) {}
  Arg(std::string text) : kind_(Kind::kString), text_(std::move(text)) {}
  Arg(std::string_view text) : kind_(Kind::kString), text_(text) {}
  Arg(std::nullptr_t) : kind_(Kind::kNil) {}
  Arg(const ScriptValue& value) : kind_(Kind::kValue), ref_(value.ref) {}

  static Arg Nil() { return Arg(nullptr); }
  static Arg Handle(const void* pointer);
  static Arg Function(NativeFunction function);
  static Arg Global(std::string name);
  static Arg List(std::vector<Arg> items);
  static Arg Table(std::vector<std::pair<Arg, Arg>> pairs);

  void Push(VMState* state) const;

 private:
  enum class Kind { kNil, kNumber, kBoolean, kString, kHandle, kFunction, kGlobal, kTable, kValue };
  explicit Arg(Kind kind) : kind_(kind) {}

  Kind kind_;
  double number_ = 0;
  std::string text_;
  const void* pointer_ = nullptr;
  NativeFunction function_ = nullptr;
  std::vector<Arg> keys_;
  std::vector<Arg> values_;
  int ref_ = kNoRef;
};

inline const Arg kNil = Arg::Nil();

struct CallResult {
  ErrorCode error = ERR_NONE;
  std::string message;  // the formatted message of error, "" on success
  std::vector<ScriptValue> values;

  bool ok() const { return error == ERR_NONE; }
  size_t count() const { return values.size(); }
  const ScriptValue& value(size_t i) const;
  double number(size_t i) const;
  std::string string(size_t i) const;
  const void* handle(size_t i) const;  // a light userdata
};

class CommandFixture {
 public:
  // Every library, in their order.
  CommandFixture();
  // Only these libraries (a test of the registration itself).
  explicit CommandFixture(std::span<const LibraryTable* const> libraries);
  ~CommandFixture();
  CommandFixture(const CommandFixture&) = delete;
  CommandFixture& operator=(const CommandFixture&) = delete;

  VMState* state() const { return state_; }
  LibraryRuntime& runtime() { return *runtime_; }
  // The code StartLibraries returned (0 unless a library's init failed).
  ErrorCode startup_error() const { return startup_error_; }

  CallResult Call(std::string_view command, std::vector<Arg> args = {});
  CallResult Run(std::string_view assembly);

  // Registers a command for the test (a library "test" of one command).
  void Register(std::string_view name, NativeFunction function);

  ScriptValue Global(std::string_view name);
  void SetGlobal(std::string_view name, const Arg& value);

  std::string TakeDebugOutput();

  // A snapshot of the value at a stack index (kept alive in the registry).
  ScriptValue Snapshot(int index);

 private:
  CallResult Finish(ErrorCode status, int base);

  VMState* state_;
  std::unique_ptr<LibraryRuntime> runtime_;
  ErrorCode startup_error_ = ERR_NONE;
  std::deque<std::string> names_;
  std::deque<CommandEntry> entries_;
  std::string debug_path_;
  size_t debug_read_ = 0;
};

// A GoogleTest base with a fixture named fx.
class CommandTest : public ::testing::Test {
 protected:
  CommandFixture fx;
};

}  // namespace tembrovia
