// The "dos" library's table: its commands and constants.
#include "files/file_attributes.h"
#include "files/file_copy.h"
#include "files/file_delete.h"
#include "files/file_handle.h"
#include "files/file_info.h"
#include "files/volume_info.h"
#include "lib/core/library_table.h"
#include "lib/dos/dos_commands.h"
#include "lib/dos/dos_objects.h"

namespace tembrovia {
namespace {

constexpr CommandEntry kDosCommands[] = {
    // File handles and files.
    {"OpenFile", CmdOpenFile},
    {"CloseFile", CmdCloseFile},
    {"Eof", CmdEof},
    {"ReadChr", CmdReadChr},
    {"ReadShort", CmdReadShort},
    {"ReadInt", CmdReadInt},
    {"ReadFloat", CmdReadFloat},
    {"ReadString", CmdReadString},
    {"ReadLine", CmdReadLine},
    {"WriteChr", CmdWriteChr},
    {"WriteShort", CmdWriteShort},
    {"WriteInt", CmdWriteInt},
    {"WriteFloat", CmdWriteFloat},
    {"WriteString", CmdWriteString},
    {"WriteLine", CmdWriteLine},
    {"Seek", CmdSeek},
    {"FilePos", CmdFilePos},
    {"FileLength", CmdFileLength},
    {"FlushFile", CmdFlushFile},
    {"SetIOMode", CmdSetIOMode},
    {"FileLines", CmdFileLines},
    {"FileToString", CmdFileToString},
    {"StringToFile", CmdStringToFile},
    {"CRC32", CmdCRC32},
    {"MD5", CmdMD5},
    {"CopyFile", CmdCopyFile},
    {"DeleteFile", CmdDeleteFile},
    {"MatchPattern", CmdMatchPattern},
    // Directories, paths and virtual files.
    {"DefineVirtualFile", CmdDefineVirtualFile},
    {"DefineVirtualFileFromString", CmdDefineVirtualFileFromString},
    {"UndefineVirtualStringFile", CmdUndefineVirtualStringFile},
    {"FilePart", CmdFilePart},
    {"PathPart", CmdPathPart},
    {"FullPath", CmdFullPath},
    {"Exists", CmdExists},
    {"FileSize", CmdFileSize},
    {"IsDirectory", CmdIsDirectory},
    {"Rename", CmdRename},
    {"MakeDirectory", CmdMakeDirectory},
    {"ChangeDirectory", CmdChangeDirectory},
    {"GetCurrentDirectory", CmdGetCurrentDirectory},
    {"ReadDirectory", CmdReadDirectory},
    {"OpenDirectory", CmdOpenDirectory},
    {"NextDirectoryEntry", CmdNextDirectoryEntry},
    {"CloseDirectory", CmdCloseDirectory},
    {"GetFileAttributes", CmdGetFileAttributes},
    {"SetFileAttributes", CmdSetFileAttributes},
    {"GetVolumeName", CmdGetVolumeName},
    {"GetVolumeInfo", CmdGetVolumeInfo},
    {"GetTempFileName", CmdGetTempFileName},
    {"Execute", CmdExecute},
    {"Run", CmdRun},
    {"GetEnv", CmdGetEnv},
    {"SetEnv", CmdSetEnv},
    {"UnsetEnv", CmdUnsetEnv},
    // Compressed files and serialisation.
    {"CompressFile", CmdCompressFile},
    {"DecompressFile", CmdDecompressFile},
    {"WriteFunction", CmdWriteFunction},
    {"ReadFunction", CmdReadFunction},
    {"WriteTable", CmdWriteTable},
    {"ReadTable", CmdReadTable},
    {"ApplyPatch", CmdApplyPatch},
};

constexpr ConstantEntry kDosConstants[] = {
    {"FREESPACE", nullptr, kFreeSpace},
    {"USEDSPACE", nullptr, kUsedSpace},
    {"EOF", nullptr, kSeekToEnd},
    {"MODE_READWRITE", nullptr, kModeReadWriteConstant},
    {"MODE_WRITE", nullptr, kModeWriteConstant},
    {"MODE_READ", nullptr, kModeReadConstant},
    {"COPYFILE_STATUS", nullptr, kCopyFileStatus},
    {"COPYFILE_OVERWRITE", nullptr, kCopyFileOverwrite},
    {"COPYFILE_UNPROTECT", nullptr, kCopyFileUnprotect},
    {"DELETEFILE_STATUS", nullptr, kDeleteFileStatus},
    {"DELETEFILE_UNPROTECT", nullptr, kDeleteFileUnprotect},
    {"IO_BUFFERED", nullptr, kIoBuffered},
    {"IO_UNBUFFERED", nullptr, kIoUnbuffered},
    {"FILEATTR_NORMAL", nullptr, kFileAttrNormal},
    {"FILEATTR_READ_USR", nullptr, kFileAttrReadUsr},
    {"FILEATTR_WRITE_USR", nullptr, kFileAttrWriteUsr},
    {"FILEATTR_DELETE_USR", nullptr, kFileAttrDeleteUsr},
    {"FILEATTR_EXECUTE_USR", nullptr, kFileAttrExecuteUsr},
    {"FILEATTR_READ_GRP", nullptr, kFileAttrReadGrp},
    {"FILEATTR_WRITE_GRP", nullptr, kFileAttrWriteGrp},
    {"FILEATTR_EXECUTE_GRP", nullptr, kFileAttrExecuteGrp},
    {"FILEATTR_READ_OTH", nullptr, kFileAttrReadOth},
    {"FILEATTR_WRITE_OTH", nullptr, kFileAttrWriteOth},
    {"FILEATTR_EXECUTE_OTH", nullptr, kFileAttrExecuteOth},
    {"FILEATTR_PURE", nullptr, kFileAttrPure},
    {"FILEATTR_ARCHIVE", nullptr, kFileAttrArchive},
    {"FILEATTR_SCRIPT", nullptr, kFileAttrScript},
    {"FILEATTR_HIDDEN", nullptr, kFileAttrHidden},
    {"FILEATTR_SYSTEM", nullptr, kFileAttrSystem},
    {"FILEATTR_READONLY", nullptr, kFileAttrReadOnly},
    {"DOSTYPE_FILE", nullptr, kDosTypeFile},
    {"DOSTYPE_DIRECTORY", nullptr, kDosTypeDirectory},
    {"FILE", nullptr, kTypeFile},
    {"DIRECTORY", nullptr, kTypeDirectory},
};

}  // namespace

const LibraryTable kDosLibrary{"dos", kDosCommands, kDosConstants, InitDosLibrary};

}  // namespace tembrovia
