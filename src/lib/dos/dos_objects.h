// The objects of the "dos" library: open files (#FILE) and directory listings (#DIRECTORY),
// each kept in one list of the library's data, plus what the library owns for the run (the
// string files a script defined, the I/O mode). Other libraries reach open files through
// FindFileHandle (the memblock library's ReadMem and WriteMem; the attribute queries read
// Dos(state).files for their count and each handle's ModeConstant()).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "files/directory_listing.h"
#include "files/file_handle.h"
#include "lib/core/object_list.h"
#include "lib/core/runtime.h"

namespace tembrovia {

struct FileObject : ObjectRecord {
  explicit FileObject(std::unique_ptr<FileHandle> handle) : file(std::move(handle)) {}
  std::unique_ptr<FileHandle> file;
};

struct DirectoryObject : ObjectRecord {
  explicit DirectoryObject(std::unique_ptr<DirectoryListing> listing) : listing(std::move(listing)) {}
  std::unique_ptr<DirectoryListing> listing;
};

inline constexpr int kIoBuffered = 0;    // #IO_BUFFERED
inline constexpr int kIoUnbuffered = 1;  // #IO_UNBUFFERED

struct DosData : LibraryData {
  // The string files and temporary files of the run end with it.
  ~DosData() override;

  ObjectList<FileObject> files{kTypeFile, ERR_FINDFILE};
  ObjectList<DirectoryObject> directories{kTypeDirectory, ERR_FINDDIR};
  std::vector<std::string> stringFiles;  // names given out by DefineVirtualFileFromString
  int ioMode = kIoBuffered;              // stored only: both modes use the same buffered stream
};

inline DosData& Dos(VMState* state) { return Runtime(state).Data<DosData>(); }

// The open file named by argument i: ERR_FINDFILE (with the number) or ERR_FINDARRAY.
ErrorCode FindFileHandle(VMState* state, int i, FileHandle** file);

// The library's start-up: registers both object lists.
ErrorCode InitDosLibrary(VMState* state, LibraryRuntime& runtime);

}  // namespace tembrovia
