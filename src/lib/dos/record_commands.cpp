// Compressed files, stored functions and tables, and patches.
#include <string>

#include "files/apply_patch.h"
#include "files/function_record.h"
#include "files/table_record.h"
#include "files/vxpk.h"
#include "lib/core/arguments.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_commands.h"
#include "lib/dos/dos_objects.h"
#include "lib/dos/script_callback.h"
#include "lib/dos/script_values.h"

namespace tembrovia {
namespace {

using FileTransform = FileError (*)(std::string_view, std::string_view, int64_t*);

// CompressFile and DecompressFile: source, dest; the size of dest.
int TransformFile(VMState* state, FileTransform transform) {
  CheckArgCount(state, 2, 2);
  const std::string_view source = CheckString(state, 1);
  const std::string_view dest = CheckString(state, 2);
  int64_t size = 0;
  if (ErrorCode error = Fail(transform(source, dest, &size))) return error;
  PushNumber(state, static_cast<double>(size));
  return 1;
}

FunctionForm FormOf(bool text) { return text ? FunctionForm::Text : FunctionForm::Binary; }

}  // namespace

int CmdCompressFile(VMState* state) {
  return TransformFile(state, [](std::string_view source, std::string_view dest, int64_t* size) {
    return CompressFile(source, dest, size);
  });
}

int CmdDecompressFile(VMState* state) {
  return TransformFile(state, [](std::string_view source, std::string_view dest, int64_t* size) {
    return DecompressFile(source, dest, size);
  });
}

// WriteFunction(handle, function, text = False)
int CmdWriteFunction(VMState* state) {
  CheckArgCount(state, 2, 3);
  FileHandle* file = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  CheckFunction(state, 2);
  const bool text = OptFlag(state, 3, false);
  if (error != ERR_NONE) return error;
  if (file->Mode() == OpenMode::Read) return ERR_READONLY;
  std::string chunk;
  if (ErrorCode failed = DumpScriptFunction(state, 2, chunk)) return failed;
  return WriteFunctionRecord(*file, chunk, FormOf(text));
}

int CmdReadFunction(VMState* state) {
  CheckArgCount(state, 1, 1);
  FileHandle* file = nullptr;
  if (ErrorCode error = FindFileHandle(state, 1, &file)) return error;
  std::string chunk;
  if (ErrorCode error = ReadFunctionRecord(*file, chunk)) return error;
  if (ErrorCode error = PushLoadedFunction(state, chunk)) return error;
  return 1;
}

// WriteTable(handle, table, text = False): a table the record could not give back is
// refused before a byte is written.
int CmdWriteTable(VMState* state) {
  CheckArgCount(state, 2, 3);
  FileHandle* file = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  CheckTable(state, 2);
  const bool text = OptFlag(state, 3, false);
  if (error != ERR_NONE) return error;
  if (file->Mode() == OpenMode::Read) return ERR_READONLY;
  SerialTable table;
  if (ErrorCode failed = TableToSerial(state, 2, table)) return failed;
  return WriteTableRecord(*file, table, FormOf(text));
}

int CmdReadTable(VMState* state) {
  CheckArgCount(state, 1, 1);
  FileHandle* file = nullptr;
  if (ErrorCode error = FindFileHandle(state, 1, &file)) return error;
  SerialTable table;
  if (ErrorCode error = ReadTableRecord(*file, table)) return error;
  if (ErrorCode error = PushSerialTable(state, table)) return error;
  return 1;
}

// ApplyPatch(patch, source, dest, callback)
int CmdApplyPatch(VMState* state) {
  CheckArgCount(state, 3, 4);
  FileHandle* handles[3] = {};
  ErrorCode error = ERR_NONE;
  for (int i = 0; i < 3; ++i) {
    ErrorCode found = FindFileHandle(state, i + 1, &handles[i]);
    if (error == ERR_NONE) error = found;
  }
  const bool hasCallback = OptCallback(state, 4);
  if (error != ERR_NONE) return error;

  ScriptCallback script(state, hasCallback ? 4 : 0, 0);
  PatchProgress progress;
  if (script) {
    progress.onProgress = [&script](int percent) {
      return script.Call([percent](ScriptCallback& table) { table.SetNumber("progress", percent); });
    };
  }
  // The user's request to end the program, seen by the VM's stop flag.
  progress.shouldStop = [state] { return GetStopFlag(state); };
  return ApplyPatch(*handles[0], *handles[1], *handles[2], progress);
}

}  // namespace tembrovia
