// The embedding interface of the script virtual machine: everything the host (driver, command
// framework, libraries) does with a VMState goes through these functions. The VM depends on no
// other part of the program; what it needs from the host comes in through VMHost (vm/host.h).
//
// Stack indexes: positive indexes count from the base of the running frame (1 is the first
// argument of a native function), negative ones from the top (-1 is the topmost value).
// kRegistryIndex and kGlobalsIndex name the registry and the globals table, UpvalueIndex(i)
// the i-th upvalue (from 1) of the running native closure. An index past the top reads as
// "none" (TagNone).
//
// Errors: a runtime error unwinds to the innermost ProtectedCall (or LoadChunk), whose result
// is the error code. No error value is ever pushed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/error_codes.h"
#include "vm/host.h"

namespace tembrovia {

struct VMState;

// Tags of script values, as Type() reports them.
enum ValueTag : int {
  TagNone = -1,
  TagNil = 0,
  TagBoolean = 1,
  TagLightUserdata = 2,
  TagNumber = 3,
  TagString = 4,
  TagTable = 5,
  TagFunction = 6,
  TagUserdata = 7,
  TagThread = 8,
};

// A native function (every script command is one). It finds its arguments at stack indexes
// 1..GetTop() and returns:
//   0..999          the number of results it pushed (they are the topmost values);
//   -1 or -2        a label-jump request (see SetLabelJump); no results;
//   1000 and above  an ErrorCode (fill the host's error-argument buffers first); no results.
using NativeFunction = int (*)(VMState* state);

// Return values of a native function that request a label jump: kLabelJump continues after
// the subroutine at the instruction after the call, kLabelJumpRepeat two instructions before
// it (so that the instruction before the call and the call run again).
constexpr int kLabelJump = -1;
constexpr int kLabelJumpRepeat = -2;
constexpr int kMaxNativeResults = 999;

constexpr int kRegistryIndex = -10000;
constexpr int kGlobalsIndex = -10001;
constexpr int UpvalueIndex(int i) { return kGlobalsIndex - i; }

// Hooks.
enum HookEventKind : int { HookCall = 0, HookReturn = 1, HookLine = 2, HookCount = 3, HookTailReturn = 4 };
enum HookMask : int { HookMaskCall = 1, HookMaskReturn = 2, HookMaskLine = 4, HookMaskCount = 8 };

struct HookEvent {
  HookEventKind kind = HookLine;
  int currentLine = -1;
  int frameIndex = 0;  // for GetStack
};

// A hook returns 0, or an error code which is raised at the hooked instruction.
using HookFunction = ErrorCode (*)(VMState* state, const HookEvent& event);

// Chunk input and output. A reader returns the next block of bytes and its length, or null
// (or a length of 0) when there is no more data. A writer returns 0 on success.
using ChunkReader = const char* (*)(VMState* state, void* data, size_t* size);
using ChunkWriter = int (*)(VMState* state, const void* bytes, size_t size, void* data);

// Debug information about one active frame.
struct DebugInfo {
  HookEventKind event = HookLine;
  std::string name;       // n: the function's name, or empty when unknown
  std::string namewhat;   // n: "global", "local", "field", "method" or ""
  std::string what;       // S: "C", "main", "tail" or "Tembrovia"
  std::string source;     // S
  std::string shortSource;  // S: at most 60 characters
  int currentLine = -1;   // l
  int nups = 0;           // u
  int lineDefined = -1;   // S
  int frameIndex = 0;     // set by GetStack
};

// The error context of the last error: the command or function name ("----" when unknown),
// the script line (-1 when unknown) and the name of the innermost script.
struct ErrorContext {
  std::string name = "----";
  int line = -1;
  std::string script;
};

// ---- state ------------------------------------------------------------------------------
// A new state with its globals and registry, or null when memory runs out.
VMState* NewState();
// Runs the pending finalisers and frees everything. Null is allowed.
void CloseState(VMState* state);

// The host services the VM calls (never owned by the VM; null restores the built-in default).
void SetHost(VMState* state, VMHost* host);
VMHost* GetHost(VMState* state);

// ---- stack ------------------------------------------------------------------------------
int GetTop(VMState* state);
void SetTop(VMState* state, int index);
void PushValue(VMState* state, int index);
void Remove(VMState* state, int index);
void Insert(VMState* state, int index);
void Replace(VMState* state, int index);
// Makes room for n more values; false when the frame would exceed 2048 values.
bool CheckStack(VMState* state, int n);
inline void Pop(VMState* state, int n) { SetTop(state, -n - 1); }

// ---- queries ----------------------------------------------------------------------------
int Type(VMState* state, int index);
const char* TypeName(int tag);  // "no value" for TagNone
bool IsNumber(VMState* state, int index);   // numbers, nil and numeric strings
bool IsString(VMState* state, int index);   // strings and numbers
bool IsNativeFunction(VMState* state, int index);
bool IsUserdata(VMState* state, int index);  // full or light
inline bool IsNil(VMState* state, int index) { return Type(state, index) == TagNil; }
inline bool IsNone(VMState* state, int index) { return Type(state, index) == TagNone; }
inline bool IsTable(VMState* state, int index) { return Type(state, index) == TagTable; }
inline bool IsFunction(VMState* state, int index) { return Type(state, index) == TagFunction; }
bool RawEqual(VMState* state, int index1, int index2);
// The script equality rule when both values have the same type, else false (may raise).
bool Equal(VMState* state, int index1, int index2);
// The script less-than rule (may raise ERR_NUMSTRCMP, ERR_WRONGOP).
bool LessThan(VMState* state, int index1, int index2);

// ---- conversions ------------------------------------------------------------------------
double ToNumber(VMState* state, int index);  // 0 when not convertible
bool ToBoolean(VMState* state, int index);   // false only for nil and boolean false
// Converts numbers and nil in place and returns the bytes (NUL-terminated; may hold NULs);
// null for other types.
const char* ToString(VMState* state, int index);
const char* ToLString(VMState* state, int index, size_t* length);
size_t StrLen(VMState* state, int index);
void* ToUserdata(VMState* state, int index);  // payload of a full userdata, or the light pointer
const void* ToPointer(VMState* state, int index);
VMState* ToThread(VMState* state, int index);
NativeFunction ToNativeFunction(VMState* state, int index);

// ---- pushing ----------------------------------------------------------------------------
void PushNil(VMState* state);
void PushNumber(VMState* state, double value);
void PushBoolean(VMState* state, bool value);
void PushString(VMState* state, const char* text);  // null pushes nil
void PushLString(VMState* state, const char* bytes, size_t length);
inline void PushStringView(VMState* state, std::string_view text) {
  PushLString(state, text.data(), text.size());
}
void PushLightUserdata(VMState* state, void* pointer);
// Pops the top n values into the new closure's upvalues.
void PushNativeClosure(VMState* state, NativeFunction function, int n);
inline void PushNativeFunction(VMState* state, NativeFunction function) {
  PushNativeClosure(state, function, 0);
}

// ---- tables -----------------------------------------------------------------------------
void GetTable(VMState* state, int index);          // key on top, replaced by t[key]
void RawGet(VMState* state, int index);
void RawGetI(VMState* state, int index, int n);    // pushes t[n]
void SetTable(VMState* state, int index);          // pops key and value
void RawSet(VMState* state, int index);
void RawSetI(VMState* state, int index, int n);    // pops the value
void NewTable(VMState* state);
// Pops a key, pushes the next key and value; 0 at the end (nothing pushed).
int Next(VMState* state, int index);
// Conveniences on the table at index: t[name] pushed / t[name] = top (popped).
void GetField(VMState* state, int index, const char* name);
void SetField(VMState* state, int index, const char* name);
inline void GetGlobal(VMState* state, const char* name) { GetField(state, kGlobalsIndex, name); }
inline void SetGlobal(VMState* state, const char* name) { SetField(state, kGlobalsIndex, name); }

// ---- metatables and environments --------------------------------------------------------
// Pushes the metatable and returns 1, or returns 0 and pushes nothing when there is none.
int GetMetatable(VMState* state, int index);
// Pops a table (or nil for none) and sets it for the table or userdata at index; returns 0
// for other types.
int SetMetatable(VMState* state, int index);
void GetEnvironment(VMState* state, int index);
int SetEnvironment(VMState* state, int index);

// ---- calls ------------------------------------------------------------------------------
// Calls the function below the nargs arguments on top; nresults -1 keeps every result.
// Returns 0, or the error code a directly called native function returned (not raised).
ErrorCode Call(VMState* state, int nargs, int nresults);
constexpr int kMultipleResults = -1;
// The same in protected mode: every raised error ends here and is returned.
ErrorCode ProtectedCall(VMState* state, int nargs, int nresults);
// A call back into script code from a native function (event handlers, comparators, the
// error handler): a ProtectedCall with the callback depth raised for its duration.
ErrorCode CallbackCall(VMState* state, int nargs, int nresults);

// ---- chunks -----------------------------------------------------------------------------
// Loads a chunk (in protected mode) and pushes it as a function; nothing is pushed on error.
ErrorCode LoadChunk(VMState* state, ChunkReader reader, void* readerData, const char* name);
ErrorCode LoadBuffer(VMState* state, const void* bytes, size_t size, const char* name);
// Writes the script function at index as a chunk; ERR_NOVXFUNC for native functions.
ErrorCode DumpFunction(VMState* state, int index, ChunkWriter writer, void* writerData);

// ---- collector --------------------------------------------------------------------------
int GetGCThreshold(VMState* state);  // kilobytes
int GetGCCount(VMState* state);      // kilobytes
void SetGCThreshold(VMState* state, int kilobytes);
void CollectGarbage(VMState* state);
size_t GetBytesInUse(VMState* state);
// A ceiling on the bytes the VM may hold (0: none); allocations beyond it raise ERR_MEM.
void SetMemoryLimit(VMState* state, size_t bytes);

// ---- miscellany -------------------------------------------------------------------------
void Concat(VMState* state, int n);
// Pushes a new full userdata and returns its payload.
void* NewUserdata(VMState* state, size_t size);
// Pops the top value into the table at index under a fresh integer key (3, 4, ...; released
// keys first) and returns the key; a nil value is not stored and gives kNoRef.
constexpr int kNoRef = -1;
int Ref(VMState* state, int tableIndex);
void Unref(VMState* state, int tableIndex, int ref);
// The same on the registry, and pushing a registry reference back.
inline int RegistryRef(VMState* state) { return Ref(state, kRegistryIndex); }
inline void RegistryUnref(VMState* state, int ref) { Unref(state, kRegistryIndex, ref); }
void PushRegistryRef(VMState* state, int ref);

// Named fields of the registry ("applet", "clargs", "script", "beginline", "labels", ...).
void SetRegistryPointer(VMState* state, const char* name, void* pointer);
void* GetRegistryPointer(VMState* state, const char* name);  // null when absent
void SetRegistryString(VMState* state, const char* name, std::string_view text);
std::string GetRegistryString(VMState* state, const char* name);  // "" when absent
void SetRegistryNumber(VMState* state, const char* name, double value);
double GetRegistryNumber(VMState* state, const char* name, double fallback);

// ---- errors -----------------------------------------------------------------------------
// A runtime error: records the current line and the error context, then unwinds.
[[noreturn]] void RaiseError(VMState* state, ErrorCode code);
// Unwinds with the code as the status, without line or context.
[[noreturn]] void Throw(VMState* state, ErrorCode code);

// The error context of the last recorded error.
const ErrorContext& GetErrorContext(VMState* state);
// Back to name "----" and line -1 (after an error has been handled).
void ResetErrorContext(VMState* state);
// Records the context for an error raised now (walking the active frames).
void RecordErrorContext(VMState* state);

// ---- command framework settings ---------------------------------------------------------
// The code of the last failing command (cleared by each native call except the one below).
ErrorCode GetLastErrorCode(VMState* state);
void SetLastErrorCode(VMState* state, ErrorCode code);
// The native function that reads the last error without clearing it first.
void SetLastErrorReader(VMState* state, NativeFunction reader);
// Exit-on-error (on by default): a failing command ends the run; off, the code is kept for
// GetLastErrorCode and the script goes on.
void SetExitOnError(VMState* state, bool on);
bool GetExitOnError(VMState* state);
// Depth of native-to-script callbacks (CallbackCall keeps it; commands may too).
int GetCallbackDepth(VMState* state);
void SetCallbackDepth(VMState* state, int depth);
// The script error handler, a registry reference (kNoRef: none). It is called as
// handler(code, message, name, line) when a command fails.
void SetErrorHandlerRef(VMState* state, int ref);
int GetErrorHandlerRef(VMState* state);
// The stop flag: once set, every running script returns at its next instruction.
void SetStopFlag(VMState* state);
bool GetStopFlag(VMState* state);
// The call trace on the debug channel (before every native call).
void SetCallTrace(VMState* state, bool on);
bool GetCallTrace(VMState* state);
// Label jumps: the instruction index after the most recent call, and the offset from it that
// a native function returning kLabelJump or kLabelJumpRepeat asks for.
int GetCallPosition(VMState* state);
void SetLabelJump(VMState* state, int offset);
// Depth of the subroutine return stack.
int GetSubroutineDepth(VMState* state);

// ---- hooks and debug information --------------------------------------------------------
void SetHook(VMState* state, HookFunction hook, int mask, int count);
HookFunction GetHook(VMState* state);
int GetHookMask(VMState* state);
// Fills info.frameIndex for the frame `level` levels below the running one (0 = running);
// false when there is no such frame.
bool GetStack(VMState* state, int level, DebugInfo* info);
// Fills the fields that `what` names ("S", "l", "u", "n"; "f" pushes the function).
bool GetInfo(VMState* state, const char* what, DebugInfo* info);
// The current script line of the innermost script frame, -1 when none.
int CurrentLine(VMState* state);

}  // namespace tembrovia
