// Commands on whole files by name: line iteration, whole-file strings, checksums, and the
// wildcard matcher.
#include <memory>
#include <new>
#include <string>

#include "files/file_checksum.h"
#include "files/file_lines.h"
#include "files/match_pattern.h"
#include "files/whole_file.h"
#include "lib/core/arguments.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_commands.h"

namespace tembrovia {
namespace {

// The registry field holding the metatable of FileLines' userdata.
constexpr const char* kLineIteratorMeta = "dos.filelines";

// The payload of the userdata that owns a FileLines stream. The userdata is the only upvalue
// of the iterator closure, so it becomes garbage exactly when the script drops the iterator.
using LineIteratorBox = std::unique_ptr<FileLineIterator>;

void PushLineIteratorMeta(VMState* state);

// Only userdata made by FileLines carry a box.
bool IsLineIteratorBox(VMState* state, int i) {
  if (Type(state, i) != TagUserdata || !GetMetatable(state, i)) return false;
  GetField(state, kRegistryIndex, kLineIteratorMeta);
  const bool same = RawEqual(state, -1, -2);
  Pop(state, 2);
  return same;
}

// __gc: closes the stream of an abandoned iterator.
int FinaliseLineIterator(VMState* state) {
  if (IsLineIteratorBox(state, 1)) std::destroy_at(static_cast<LineIteratorBox*>(ToUserdata(state, 1)));
  return 0;
}

void PushLineIteratorMeta(VMState* state) {
  GetField(state, kRegistryIndex, kLineIteratorMeta);
  if (IsTable(state, -1)) return;
  Pop(state, 1);
  NewTable(state);
  PushNativeFunction(state, FinaliseLineIterator);
  SetField(state, -2, "__gc");
  PushValue(state, -1);
  SetField(state, kRegistryIndex, kLineIteratorMeta);
}

// The iterator: the next line, or nothing at the end (the stream is closed then).
int NextFileLine(VMState* state) {
  auto* box = static_cast<LineIteratorBox*>(ToUserdata(state, UpvalueIndex(1)));
  if (box == nullptr || *box == nullptr) return 0;
  std::optional<std::string> line = (*box)->Next();
  if (!line) {
    box->reset();
    return 0;
  }
  PushStringView(state, *line);
  return 1;
}

}  // namespace

int CmdFileLines(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string name(CheckString(state, 1));
  std::unique_ptr<FileLineIterator> iterator;
  if (ErrorCode error = FileLineIterator::Open(name, iterator)) return Fail(error, name);
  // The metatable first: once the userdata owns the stream, nothing may fail before its
  // finaliser is in place.
  PushLineIteratorMeta(state);
  void* payload = NewUserdata(state, sizeof(LineIteratorBox));
  new (payload) LineIteratorBox(std::move(iterator));
  PushValue(state, -2);
  SetMetatable(state, -2);
  PushNativeClosure(state, NextFileLine, 1);
  return 1;
}

int CmdFileToString(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string name(CheckString(state, 1));
  std::string bytes;
  if (ErrorCode error = ReadWholeFile(name, bytes)) return Fail(error, name);
  PushStringView(state, bytes);
  PushNumber(state, static_cast<double>(bytes.size()));
  return 2;
}

int CmdStringToFile(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view bytes = CheckString(state, 1);
  const std::string name(CheckString(state, 2));
  return Fail(WriteWholeFile(name, bytes), name);
}

int CmdCRC32(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string name(CheckString(state, 1));
  uint32_t crc = 0;
  if (ErrorCode error = FileCrc32(name, crc)) return Fail(error, name);
  PushNumber(state, crc);
  return 1;
}

int CmdMD5(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string name(CheckString(state, 1));
  std::string digest;
  if (ErrorCode error = FileMd5(name, digest)) return Fail(error, name);
  PushStringView(state, digest);
  return 1;
}

int CmdMatchPattern(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view text = CheckString(state, 1);
  const std::string_view pattern = CheckString(state, 2);
  PushNumber(state, MatchPattern(text, pattern) ? 1 : 0);
  return 1;
}

}  // namespace tembrovia
