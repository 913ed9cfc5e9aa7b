// The file-handle commands: opening and closing, typed reads and writes, lines, seeking.
#include <string>

#include "lib/core/arguments.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_commands.h"
#include "lib/dos/dos_objects.h"

namespace tembrovia {
namespace {

// Finds the handle of argument 1 and runs a read that yields a number.
template <class T, class Read>
int ReadNumber(VMState* state, Read read) {
  CheckArgCount(state, 1, 1);
  FileHandle* file = nullptr;
  if (ErrorCode error = FindFileHandle(state, 1, &file)) return error;
  T value{};
  if (ErrorCode error = (file->*read)(value)) return error;
  PushNumber(state, static_cast<double>(value));
  return 1;
}

// Finds the handle of argument 1 and writes the number of argument 2.
int WriteNumber(VMState* state, ErrorCode (FileHandle::*write)(double)) {
  CheckArgCount(state, 2, 2);
  FileHandle* file = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  const double value = CheckNumber(state, 2);
  if (error != ERR_NONE) return error;
  return (file->*write)(value);
}

// A command of one handle argument and a result computed from it.
template <class Get>
int HandleQuery(VMState* state, Get get) {
  CheckArgCount(state, 1, 1);
  FileHandle* file = nullptr;
  if (ErrorCode error = FindFileHandle(state, 1, &file)) return error;
  PushNumber(state, static_cast<double>(get(*file)));
  return 1;
}

}  // namespace

int CmdOpenFile(VMState* state) {
  CheckArgCount(state, 2, 3);
  const NewObjectId id = ReadNewObjectId(state, 1);
  const std::string name(CheckString(state, 2));
  const int mode = OptInteger(state, 3, kModeReadConstant);
  DosData& dos = Dos(state);
  // The file this number has open is flushed before the new one is opened, so reopening the
  // same file for writing cannot receive the old handle's buffered bytes afterwards.
  if (!id.automatic) {
    if (FileObject* old = dos.files.Find(ObjectId{id.number, nullptr})) old->file->Flush();
  }
  std::unique_ptr<FileHandle> file;
  if (ErrorCode error = FileHandle::Open(name, mode, file)) return Fail(error, name);
  if (ErrorCode error = dos.files.PrepareNew(state, id)) return error;
  FileObject& object = dos.files.Add(id, std::make_unique<FileObject>(std::move(file)));
  return PushCreated(state, object, id);
}

int CmdCloseFile(VMState* state) {
  CheckArgCount(state, 1, 1);
  return Dos(state).files.Free(state, ReadObjectId(state, 1));
}

int CmdEof(VMState* state) {
  return HandleQuery(state, [](const FileHandle& file) { return file.Eof() ? 1 : 0; });
}

int CmdFilePos(VMState* state) {
  return HandleQuery(state, [](const FileHandle& file) { return file.Position(); });
}

int CmdFileLength(VMState* state) {
  return HandleQuery(state, [](const FileHandle& file) { return file.Length(); });
}

int CmdFlushFile(VMState* state) {
  CheckArgCount(state, 1, 1);
  FileHandle* file = nullptr;
  if (ErrorCode error = FindFileHandle(state, 1, &file)) return error;
  return file->Flush();
}

int CmdReadChr(VMState* state) { return ReadNumber<uint8_t>(state, &FileHandle::ReadChr); }
int CmdReadShort(VMState* state) { return ReadNumber<uint16_t>(state, &FileHandle::ReadShort); }
int CmdReadInt(VMState* state) { return ReadNumber<int32_t>(state, &FileHandle::ReadInt); }
int CmdReadFloat(VMState* state) { return ReadNumber<double>(state, &FileHandle::ReadFloat); }

int CmdReadString(VMState* state) {
  CheckArgCount(state, 2, 2);
  FileHandle* file = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  const int64_t length = CheckInt64(state, 2);
  if (error != ERR_NONE) return error;
  std::string text;
  if (ErrorCode failed = file->ReadString(length, text)) return failed;
  PushStringView(state, text);
  return 1;
}

int CmdReadLine(VMState* state) {
  CheckArgCount(state, 1, 1);
  FileHandle* file = nullptr;
  if (ErrorCode error = FindFileHandle(state, 1, &file)) return error;
  std::string line;
  if (ErrorCode error = file->ReadLine(line)) return error;
  PushStringView(state, line);
  return 1;
}

int CmdWriteChr(VMState* state) { return WriteNumber(state, &FileHandle::WriteChr); }
int CmdWriteShort(VMState* state) { return WriteNumber(state, &FileHandle::WriteShort); }
int CmdWriteInt(VMState* state) { return WriteNumber(state, &FileHandle::WriteInt); }
int CmdWriteFloat(VMState* state) { return WriteNumber(state, &FileHandle::WriteFloat); }

int CmdWriteString(VMState* state) {
  CheckArgCount(state, 2, 3);
  FileHandle* file = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  const std::string_view text = CheckString(state, 2);
  const int64_t length = OptInt64(state, 3, 0);
  if (error != ERR_NONE) return error;
  return file->WriteString(text, length);
}

int CmdWriteLine(VMState* state) {
  CheckArgCount(state, 2, 2);
  FileHandle* file = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  const std::string_view text = CheckString(state, 2);
  if (error != ERR_NONE) return error;
  return file->WriteLine(text);
}

int CmdSeek(VMState* state) {
  CheckArgCount(state, 2, 2);
  FileHandle* file = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  const int64_t position = CheckInt64(state, 2);
  if (error != ERR_NONE) return error;
  return file->Seek(position);
}

int CmdSetIOMode(VMState* state) {
  CheckArgCount(state, 1, 1);
  const int32_t mode = CheckInteger(state, 1);
  if (mode != kIoBuffered && mode != kIoUnbuffered) return ERR_WRONGUSAGE;
  Dos(state).ioMode = mode;
  return 0;
}

}  // namespace tembrovia
