// The commands of the "dos" library (files, directories, paths, virtual files, stored
// tables and functions), registered by library_table.cpp.
#pragma once

#include "vm/api.h"

namespace tembrovia {

// File handles.
int CmdOpenFile(VMState* state);
int CmdCloseFile(VMState* state);
int CmdEof(VMState* state);
int CmdFilePos(VMState* state);
int CmdFileLength(VMState* state);
int CmdFlushFile(VMState* state);
int CmdReadChr(VMState* state);
int CmdReadShort(VMState* state);
int CmdReadInt(VMState* state);
int CmdReadFloat(VMState* state);
int CmdReadString(VMState* state);
int CmdReadLine(VMState* state);
int CmdWriteChr(VMState* state);
int CmdWriteShort(VMState* state);
int CmdWriteInt(VMState* state);
int CmdWriteFloat(VMState* state);
int CmdWriteString(VMState* state);
int CmdWriteLine(VMState* state);
int CmdSeek(VMState* state);
int CmdSetIOMode(VMState* state);

// Whole files by name.
int CmdFileLines(VMState* state);
int CmdFileToString(VMState* state);
int CmdStringToFile(VMState* state);
int CmdCRC32(VMState* state);
int CmdMD5(VMState* state);
int CmdMatchPattern(VMState* state);

// Copying and deleting.
int CmdCopyFile(VMState* state);
int CmdDeleteFile(VMState* state);

// Names, paths and virtual files.
int CmdDefineVirtualFile(VMState* state);
int CmdDefineVirtualFileFromString(VMState* state);
int CmdUndefineVirtualStringFile(VMState* state);
int CmdFilePart(VMState* state);
int CmdPathPart(VMState* state);
int CmdFullPath(VMState* state);
int CmdExists(VMState* state);
int CmdFileSize(VMState* state);
int CmdIsDirectory(VMState* state);
int CmdRename(VMState* state);
int CmdMakeDirectory(VMState* state);
int CmdChangeDirectory(VMState* state);
int CmdGetCurrentDirectory(VMState* state);

// Directories and attributes.
int CmdReadDirectory(VMState* state);
int CmdOpenDirectory(VMState* state);
int CmdNextDirectoryEntry(VMState* state);
int CmdCloseDirectory(VMState* state);
int CmdGetFileAttributes(VMState* state);
int CmdSetFileAttributes(VMState* state);

// Volumes, temporary files, programs, environment.
int CmdGetVolumeName(VMState* state);
int CmdGetVolumeInfo(VMState* state);
int CmdGetTempFileName(VMState* state);
int CmdExecute(VMState* state);
int CmdRun(VMState* state);
int CmdGetEnv(VMState* state);
int CmdSetEnv(VMState* state);
int CmdUnsetEnv(VMState* state);

// Compressed files, stored functions and tables, patches.
int CmdCompressFile(VMState* state);
int CmdDecompressFile(VMState* state);
int CmdWriteFunction(VMState* state);
int CmdReadFunction(VMState* state);
int CmdWriteTable(VMState* state);
int CmdReadTable(VMState* state);
int CmdApplyPatch(VMState* state);

}  // namespace tembrovia
