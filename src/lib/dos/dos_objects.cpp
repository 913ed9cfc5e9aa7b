#include "lib/dos/dos_objects.h"

#include "files/file_namespace.h"
#include "lib/core/object_registry.h"

namespace tembrovia {

DosData::~DosData() {
  // A string file lives until it is undefined or the run ends; streams still open on one
  // keep their own share of its bytes.
  for (const std::string& name : stringFiles) DefaultFileNamespace().UndefineStringFile(name);
}

ErrorCode FindFileHandle(VMState* state, int i, FileHandle** file) {
  FileObject* object = nullptr;
  if (ErrorCode error = Dos(state).files.Find(ReadObjectId(state, i), Access::kRead, &object)) return error;
  *file = object->file.get();
  return ERR_NONE;
}

ErrorCode InitDosLibrary(VMState* state, LibraryRuntime& runtime) {
  DosData& dos = runtime.Data<DosData>();
  if (ErrorCode error = RegisterObjectList(state, dos.files)) return error;
  return RegisterObjectList(state, dos.directories);
}

}  // namespace tembrovia
