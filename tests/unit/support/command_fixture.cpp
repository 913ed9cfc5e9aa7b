#include "support/command_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "asm/assembler.h"
#include "asm/player_constants.h"
#include "common/debug_output.h"
#include "common/error_state.h"
#include "common/format_error.h"
#include "common/latin1_case.h"
#include "lib/core/registration.h"

namespace tembrovia {
namespace {

constexpr int kSnapshotDepth = 8;

std::string MakeDebugPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/tembrovia-debug-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) return {};
  close(fd);
  return path;
}

ScriptValue TakeSnapshot(VMState* state, int index, int depth) {
  if (index < 0 && index > kRegistryIndex) index = GetTop(state) + index + 1;
  ScriptValue value;
  value.type = Type(state, index);
  switch (value.type) {
    case TagNumber:
      value.number = ToNumber(state, index);
      break;
    case TagBoolean:
      value.boolean = ToBoolean(state, index);
      break;
    case TagString: {
      size_t length = 0;
      const char* text = ToLString(state, index, &length);
      value.text.assign(text, length);
      break;
    }
    case TagLightUserdata:
      value.pointer = ToUserdata(state, index);
      break;
    default:
      value.pointer = ToPointer(state, index);
      break;
  }
  if (value.type == TagTable && depth > 0) {
    PushNil(state);
    while (Next(state, index) != 0) {
      value.values.push_back(TakeSnapshot(state, -1, depth - 1));
      Pop(state, 1);
      value.keys.push_back(TakeSnapshot(state, -1, depth - 1));
    }
  }
  PushValue(state, index);
  value.ref = RegistryRef(state);
  return value;
}

}  // namespace

// ---- ScriptValue ----------------------------------------------------------------------

const ScriptValue* ScriptValue::Field(std::string_view key) const {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].type == TagString && keys[i].text == key) return &values[i];
  }
  return nullptr;
}

const ScriptValue* ScriptValue::Item(double key) const {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].type == TagNumber && keys[i].number == key) return &values[i];
  }
  return nullptr;
}

size_t ScriptValue::ItemCount() const {
  size_t count = 0;
  while (Item(static_cast<double>(count)) != nullptr) ++count;
  return count;
}

// ---- Arg ------------------------------------------------------------------------------

Arg Arg::Handle(const void* pointer) {
  Arg arg(Kind::kHandle);
  arg.pointer_ = pointer;
  return arg;
}

Arg Arg::Function(NativeFunction function) {
  Arg arg(Kind::kFunction);
  arg.function_ = function;
  return arg;
}

Arg Arg::Global(std::string name) {
  Arg arg(Kind::kGlobal);
  arg.text_ = std::move(name);
  return arg;
}

Arg Arg::List(std::vector<Arg> items) {
  Arg arg(Kind::kTable);
  for (size_t i = 0; i < items.size(); ++i) arg.keys_.emplace_back(static_cast<double>(i));
  arg.values_ = std::move(items);
  return arg;
}

Arg Arg::Table(std::vector<std::pair<Arg, Arg>> pairs) {
  Arg arg(Kind::kTable);
  for (auto& [key, value] : pairs) {
    arg.keys_.push_back(std::move(key));
    arg.values_.push_back(std::move(value));
  }
  return arg;
}

void Arg::Push(VMState* state) const {
  switch (kind_) {
    case Kind::kNil:
      PushNil(state);
      break;
    case Kind::kNumber:
      PushNumber(state, number_);
      break;
    case Kind::kBoolean:
      PushBoolean(state, number_ != 0);
      break;
    case Kind::kString:
      PushStringView(state, text_);
      break;
    case Kind::kHandle:
      PushLightUserdata(state, const_cast<void*>(pointer_));
      break;
    case Kind::kFunction:
      PushNativeFunction(state, function_);
      break;
    case Kind::kGlobal:
      GetGlobal(state, text_.c_str());
      break;
    case Kind::kTable:
      NewTable(state);
      for (size_t i = 0; i < keys_.size(); ++i) {
        keys_[i].Push(state);
        values_[i].Push(state);
        RawSet(state, -3);
      }
      break;
    case Kind::kValue:
      if (ref_ == kNoRef) {
        PushNil(state);
      } else {
        PushRegistryRef(state, ref_);
      }
      break;
  }
}

// ---- CallResult -----------------------------------------------------------------------

const ScriptValue& CallResult::value(size_t i) const {
  static const ScriptValue kNone;
  if (i < values.size()) return values[i];
  ADD_FAILURE() << "result " << i << " asked for, but the call returned " << values.size()
                << (error ? " (error " + std::to_string(error) + ": " + message + ")" : "");
  return kNone;
}

double CallResult::number(size_t i) const {
  const ScriptValue& v = value(i);
  if (i < values.size() && v.type != TagNumber) {
    ADD_FAILURE() << "result " << i << " is a " << TypeName(v.type) << ", not a number";
  }
  return v.number;
}

std::string CallResult::string(size_t i) const {
  const ScriptValue& v = value(i);
  if (i < values.size() && v.type != TagString) {
    ADD_FAILURE() << "result " << i << " is a " << TypeName(v.type) << ", not a string";
  }
  return v.text;
}

const void* CallResult::handle(size_t i) const {
  const ScriptValue& v = value(i);
  if (i < values.size() && v.type != TagLightUserdata) {
    ADD_FAILURE() << "result " << i << " is a " << TypeName(v.type) << ", not a handle";
  }
  return v.pointer;
}

// ---- CommandFixture -------------------------------------------------------------------

CommandFixture::CommandFixture() : CommandFixture(LibraryOrder()) {}

CommandFixture::CommandFixture(std::span<const LibraryTable* const> libraries)
    : state_(NewState()) {
  if (state_ == nullptr) {
    std::fputs("CommandFixture: no memory for a VM state\n", stderr);
    std::abort();
  }
  runtime_ = std::make_unique<LibraryRuntime>(state_);
  debug_path_ = MakeDebugPath();
  if (!debug_path_.empty()) OpenDebugDevice("::file" + debug_path_);
  startup_error_ = StartLibraries(state_, libraries, nullptr, nullptr);
  EXPECT_EQ(startup_error_, ERR_NONE) << "the libraries did not start";
}

CommandFixture::~CommandFixture() {
  runtime_.reset();
  CloseState(state_);
  CloseDebugDevice();
  if (!debug_path_.empty()) std::remove(debug_path_.c_str());
}

CallResult CommandFixture::Finish(ErrorCode status, int base) {
  CallResult result;
  result.error = status;
  if (status != ERR_NONE) {
    result.message = FormatError(status);
  } else {
    for (int i = base + 1; i <= GetTop(state_); ++i) result.values.push_back(Snapshot(i));
  }
  SetTop(state_, base);
  return result;
}

CallResult CommandFixture::Call(std::string_view command, std::vector<Arg> args) {
  SetErrorText("");
  SetErrorNumber(0);
  ResetErrorContext(state_);
  const int base = GetTop(state_);
  PushStringView(state_, Latin1Lower(command));
  GetTable(state_, kGlobalsIndex);
  if (!IsFunction(state_, -1)) {
    ADD_FAILURE() << "no command " << command << " is registered";
    SetTop(state_, base);
    CallResult missing;
    missing.error = ERR_UNKNOWNCMD;
    return missing;
  }
  for (const Arg& arg : args) arg.Push(state_);
  return Finish(ProtectedCall(state_, static_cast<int>(args.size()), kMultipleResults), base);
}

CallResult CommandFixture::Run(std::string_view assembly) {
  AssemblyOptions options;
  options.sourceName = "@test.vxs";
  options.resolveConstant = ResolvePlayerConstant;
  const AssemblyResult chunk = Assemble(assembly, options);
  if (!chunk.ok()) {
    ADD_FAILURE() << "assembly failed: " << chunk.error;
    CallResult failed;
    failed.error = ERR_SYNTAXERROR;
    return failed;
  }
  if (GetStopFlag(state_)) {
    ADD_FAILURE() << "an earlier script failed and set the VM's stop flag, which cannot be "
                     "cleared: run this script in a fixture of its own";
  }
  SetErrorText("");
  SetErrorNumber(0);
  ResetErrorContext(state_);
  const int base = GetTop(state_);
  ErrorCode status = LoadBuffer(state_, chunk.chunk.data(), chunk.chunk.size(), "=test");
  if (status == ERR_NONE) status = ProtectedCall(state_, 0, kMultipleResults);
  return Finish(status, base);
}

void CommandFixture::Register(std::string_view name, NativeFunction function) {
  names_.emplace_back(name);
  entries_.push_back({names_.back().c_str(), function});
  const ErrorCode error = RegisterLibrary(
      state_, std::span<const CommandEntry>(&entries_.back(), 1), "test", {});
  EXPECT_EQ(error, ERR_NONE);
}

ScriptValue CommandFixture::Global(std::string_view name) {
  GetGlobal(state_, std::string(name).c_str());
  ScriptValue value = Snapshot(-1);
  Pop(state_, 1);
  return value;
}

void CommandFixture::SetGlobal(std::string_view name, const Arg& value) {
  value.Push(state_);
  tembrovia::SetGlobal(state_, std::string(name).c_str());
}

std::string CommandFixture::TakeDebugOutput() {
  std::ifstream in(debug_path_, std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (debug_read_ > all.size()) debug_read_ = 0;
  std::string fresh = all.substr(debug_read_);
  debug_read_ = all.size();
  return fresh;
}

ScriptValue CommandFixture::Snapshot(int index) { return TakeSnapshot(state_, index, kSnapshotDepth); }

}  // namespace tembrovia
