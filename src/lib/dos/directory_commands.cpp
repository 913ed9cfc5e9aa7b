// Directory listings and file attributes.
#include <string>
#include <vector>

#include "common/numeric_conversion.h"
#include "files/date_string.h"
#include "files/file_info.h"
#include "lib/core/arguments.h"
#include "lib/core/option_fields.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_commands.h"
#include "lib/dos/dos_objects.h"

namespace tembrovia {
namespace {

void SetNumberField(VMState* state, const char* field, double value) {
  PushNumber(state, value);
  SetField(state, -2, field);
}

void SetStringField(VMState* state, const char* field, std::string_view value) {
  PushStringView(state, value);
  SetField(state, -2, field);
}

// The entry fields of NextDirectoryEntry and GetFileAttributes, into the table on top.
void SetEntryFields(VMState* state, const FileInfo& info) {
  SetNumberField(state, "type", info.isDirectory ? kDosTypeDirectory : kDosTypeFile);
  if (!info.isDirectory) SetNumberField(state, "size", static_cast<double>(info.size));
  SetNumberField(state, "flags", info.flags);
  SetStringField(state, "time", FormatDateString(info.modified));
  SetStringField(state, "lastaccesstime", FormatDateString(info.accessed));
  SetStringField(state, "creationtime", FormatDateString(info.created));
}

// Names at keys 0, 1, ... and the empty string after the last.
void FillNameList(VMState* state, int table, const std::vector<std::string>& names) {
  int key = 0;
  for (const std::string& name : names) {
    PushStringView(state, name);
    RawSetI(state, table, key++);
  }
  PushStringView(state, "");
  RawSetI(state, table, key);
}

}  // namespace

// ReadDirectory(path, files, dirs, sort = True)
int CmdReadDirectory(VMState* state) {
  CheckArgCount(state, 3, 4);
  const std::string_view path = CheckString(state, 1);
  CheckTable(state, 2);
  CheckTable(state, 3);
  const bool sort = OptFlag(state, 4, true);
  std::vector<std::string> files, directories;
  if (ErrorCode error = ReadDirectoryNames(path, sort, files, directories)) return Fail(error, path);
  FillNameList(state, 2, files);
  FillNameList(state, 3, directories);
  PushNumber(state, static_cast<double>(files.size()));
  PushNumber(state, static_cast<double>(directories.size()));
  return 2;
}

int CmdOpenDirectory(VMState* state) {
  CheckArgCount(state, 2, 2);
  const NewObjectId id = ReadNewObjectId(state, 1);
  const std::string_view path = CheckString(state, 2);
  std::unique_ptr<DirectoryListing> listing;
  if (ErrorCode error = DirectoryListing::Open(path, listing)) return Fail(error, path);
  DosData& dos = Dos(state);
  if (ErrorCode error = dos.directories.PrepareNew(state, id)) return error;
  DirectoryObject& object = dos.directories.Add(id, std::make_unique<DirectoryObject>(std::move(listing)));
  return PushCreated(state, object, id);
}

int CmdNextDirectoryEntry(VMState* state) {
  CheckArgCount(state, 1, 1);
  DirectoryObject* directory = nullptr;
  if (ErrorCode error = Dos(state).directories.Find(ReadObjectId(state, 1), Access::kRead, &directory)) {
    return error;
  }
  const std::optional<DirectoryEntry> entry = directory->listing->Next();
  if (!entry) return 0;
  NewTable(state);
  SetStringField(state, "name", entry->name);
  SetEntryFields(state, entry->info);
  return 1;
}

int CmdCloseDirectory(VMState* state) {
  CheckArgCount(state, 1, 1);
  return Dos(state).directories.Free(state, ReadObjectId(state, 1));
}

int CmdGetFileAttributes(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view path = CheckString(state, 1);
  const std::optional<FileInfo> info = QueryFileInfo(path);
  if (!info) return Fail(ERR_LOCK2, path);
  NewTable(state);
  SetStringField(state, "path", info->path);
  SetNumberField(state, "virtual", info->isVirtual ? 1 : 0);
  SetEntryFields(state, *info);
  return 1;
}

// SetFileAttributes(path, {flags, time, lastaccesstime, creationtime})
int CmdSetFileAttributes(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view path = CheckString(state, 1);
  CheckTable(state, 2);
  FileAttributeChange change;
  double flags = 0;
  if (OptFieldNumber(state, 2, "flags", &flags)) change.flags = TruncToLow32(flags);
  std::string text;
  if (OptFieldString(state, 2, "time", &text)) change.time = text;
  if (OptFieldString(state, 2, "lastaccesstime", &text)) change.lastAccessTime = text;
  if (OptFieldString(state, 2, "creationtime", &text)) change.creationTime = text;
  return Fail(ChangeFileAttributes(path, change), path);
}

}  // namespace tembrovia
