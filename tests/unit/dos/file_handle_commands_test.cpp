// The "dos" library's table, and the file-handle commands through the VM: typed values,
// handles by number and by automatic handle, the range checks of the arguments, and the
// errors with their messages.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/latin1_case.h"
#include "dos_test.h"

namespace tembrovia {
namespace {

using FileHandleCommandsTest = DosTest;

TEST_F(FileHandleCommandsTest, TheLibraryRegistersItsCommandsAndConstants) {
  std::vector<std::string> registered;
  for (const RegisteredLibrary& library : fx.runtime().commands().libraries()) {
    if (library.name != "dos") continue;
    for (const CommandEntry& entry : library.commands) registered.push_back(entry.name);
  }
  std::vector<std::string> expected = {
      "OpenFile", "CloseFile", "Eof", "ReadChr", "ReadShort", "ReadInt", "ReadFloat", "ReadString",
      "ReadLine", "WriteChr", "WriteShort", "WriteInt", "WriteFloat", "WriteString", "WriteLine",
      "Seek", "FilePos", "FileLength", "FlushFile", "SetIOMode", "FileLines", "FileToString",
      "StringToFile", "CRC32", "MD5", "CopyFile", "DeleteFile", "MatchPattern",
      "DefineVirtualFile", "DefineVirtualFileFromString", "UndefineVirtualStringFile", "FilePart",
      "PathPart", "FullPath", "Exists", "FileSize", "IsDirectory", "Rename", "MakeDirectory",
      "ChangeDirectory", "GetCurrentDirectory", "ReadDirectory", "OpenDirectory",
      "NextDirectoryEntry", "CloseDirectory", "GetFileAttributes", "SetFileAttributes",
      "GetVolumeName", "GetVolumeInfo", "GetTempFileName", "Execute", "Run", "GetEnv", "SetEnv",
      "UnsetEnv", "CompressFile", "DecompressFile", "WriteFunction", "ReadFunction", "WriteTable",
      "ReadTable", "ApplyPatch"};
  std::sort(registered.begin(), registered.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(registered, expected);
  for (const std::string& name : expected) EXPECT_EQ(fx.Global(Latin1Lower(name)).type, TagFunction) << name;

  const std::pair<const char*, double> constants[] = {
      {"FREESPACE", 1}, {"USEDSPACE", 0}, {"EOF", -1}, {"MODE_READWRITE", 1004}, {"MODE_WRITE", 1006},
      {"MODE_READ", 1005}, {"COPYFILE_STATUS", 0}, {"COPYFILE_OVERWRITE", 1}, {"COPYFILE_UNPROTECT", 2},
      {"DELETEFILE_STATUS", 0}, {"DELETEFILE_UNPROTECT", 1}, {"IO_BUFFERED", 0}, {"IO_UNBUFFERED", 1},
      {"FILEATTR_NORMAL", 65536}, {"FILEATTR_READ_USR", 1}, {"FILEATTR_WRITE_USR", 2},
      {"FILEATTR_DELETE_USR", 4}, {"FILEATTR_EXECUTE_USR", 8}, {"FILEATTR_READ_GRP", 512},
      {"FILEATTR_WRITE_GRP", 1024}, {"FILEATTR_EXECUTE_GRP", 2048}, {"FILEATTR_READ_OTH", 4096},
      {"FILEATTR_WRITE_OTH", 8192}, {"FILEATTR_EXECUTE_OTH", 16384}, {"FILEATTR_PURE", 16},
      {"FILEATTR_ARCHIVE", 32}, {"FILEATTR_SCRIPT", 64}, {"FILEATTR_HIDDEN", 128},
      {"FILEATTR_SYSTEM", 256}, {"FILEATTR_READONLY", 32768}, {"DOSTYPE_FILE", 0}, {"DOSTYPE_DIRECTORY", 1},
      {"FILE", 44}, {"DIRECTORY", 45}};
  for (const auto& [name, value] : constants) {
    const CallResult r = fx.Call("GetConstant", {std::string("#") + name});
    ASSERT_TRUE(r.ok()) << name;
    EXPECT_EQ(r.number(0), value) << name;
  }
}

TEST_F(FileHandleCommandsTest, TypedValuesRoundTripBigEndian) {
  Open(1, "values.bin", kModeWriteConstant);
  Ok("WriteShort", {1, 258});
  Ok("WriteInt", {1, -2});
  Ok("WriteChr", {1, 511});
  Ok("WriteFloat", {1, -1.5});
  Ok("WriteString", {1, std::string("ab\0cd", 5), 4});
  Ok("WriteLine", {1, std::string("x\0y", 3)});
  EXPECT_EQ(Ok("FileLength", {1}).number(0), 22);
  EXPECT_EQ(fx.Call("ReadChr", {1}).error, ERR_WRITEONLY);
  Ok("CloseFile", {1});
  EXPECT_EQ(ReadBytes(dir / "values.bin"),
            std::string("\x01\x02\xFF\xFF\xFF\xFE\xFF\xBF\xF8\0\0\0\0\0\0ab\0cx\r\n", 22));

  Open(1, "values.bin", kModeReadConstant);
  EXPECT_EQ(Ok("ReadShort", {1}).number(0), 258);
  EXPECT_EQ(Ok("ReadInt", {1}).number(0), -2);
  EXPECT_EQ(Ok("ReadChr", {1}).number(0), 255);
  EXPECT_EQ(Ok("ReadFloat", {1}).number(0), -1.5);
  EXPECT_EQ(Ok("ReadString", {1, 4}).string(0), std::string("ab\0c", 4));
  EXPECT_EQ(Ok("Eof", {1}).number(0), 0);
  EXPECT_EQ(Ok("ReadLine", {1}).string(0), "x");
  EXPECT_EQ(Ok("Eof", {1}).number(0), 1);
  EXPECT_EQ(Ok("FilePos", {1}).number(0), 22);
  const CallResult end = fx.Call("ReadLine", {1});
  EXPECT_EQ(end.error, ERR_READRANGE);
  EXPECT_EQ(end.message, "Cannot read beyond end of file!");
  EXPECT_EQ(fx.Call("WriteChr", {1, 0}).error, ERR_READONLY);
  EXPECT_EQ(Ok("FilePos", {1}).number(0), 22);  // the handle stays open after errors
}

TEST_F(FileHandleCommandsTest, AutomaticHandlesAndMissingObjects) {
  WriteBytes(dir / "a.txt", "abc");
  const CallResult opened = Ok("OpenFile", {kNil, dir / "a.txt"});
  ASSERT_EQ(opened.count(), 1u);
  const ScriptValue handle = opened.value(0);
  EXPECT_EQ(Ok("GetObjectType", {handle}).number(0), kTypeFile);
  EXPECT_EQ(Ok("ReadString", {handle, 3}).string(0), "abc");
  Ok("CloseFile", {handle});
  EXPECT_EQ(fx.Call("ReadChr", {handle}).error, ERR_FINDARRAY);

  const CallResult missing = fx.Call("ReadChr", {7});
  EXPECT_EQ(missing.error, ERR_FINDFILE);
  EXPECT_EQ(missing.message, "Could not find file handle 7!");
  EXPECT_EQ(fx.Call("CloseFile", {7}).error, ERR_FINDFILE);

  const CallResult unreadable = fx.Call("OpenFile", {1, dir / "missing"});
  EXPECT_EQ(unreadable.error, ERR_READFILE);
  EXPECT_EQ(unreadable.message, "Cannot read file missing !");
  const CallResult unwritable = fx.Call("OpenFile", {1, dir / "no/dir/f", kModeWriteConstant});
  EXPECT_EQ(unwritable.error, ERR_WRITEFILE);
  EXPECT_EQ(unwritable.message, "Cannot write to file " + (dir / "no/dir/f") + " !");
  EXPECT_EQ(fx.Call("OpenFile", {1, dir / "a.txt", 1003}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("OpenFile", {1, ""}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("OpenFile", {1}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("ReadString", {1, "x"}).error, ERR_NUMEXPECTED);
}

TEST_F(FileHandleCommandsTest, RangesAreCheckedIn64BitBeforeAnythingHappens) {
  WriteBytes(dir / "five", "12345");
  Open(1, "five", kModeReadConstant);
  struct Case {
    const char* command;
    double argument;
    ErrorCode error;
  };
  const Case cases[] = {
      {"ReadString", -1, ERR_WRONGUSAGE},
      {"ReadString", 6, ERR_READRANGE},
      {"ReadString", 9007199254740992.0, ERR_READRANGE},  // 2^53: never allocated
      {"ReadString", 1e300, ERR_READRANGE},
      {"ReadString", 4294967296.0 + 2, ERR_READRANGE},    // not cut to 32 bits
      {"Seek", -2, ERR_SEEK},
      {"Seek", 6, ERR_SEEK},
      {"Seek", 4294967296.0 + 1, ERR_SEEK},
      {"Seek", -INFINITY, ERR_SEEK},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fx.Call(c.command, {1, c.argument}).error, c.error) << c.command << " " << c.argument;
    EXPECT_EQ(Ok("FilePos", {1}).number(0), 0);
  }
  EXPECT_EQ(fx.Call("Seek", {1, 6}).message, "Invalid seek position specified!");
  Ok("Seek", {1, -1});  // #EOF
  EXPECT_EQ(Ok("FilePos", {1}).number(0), 5);
  Ok("Seek", {1, 2});
  EXPECT_EQ(Ok("ReadString", {1, 3}).string(0), "345");

  Open(2, "out", kModeWriteConstant);
  const CallResult tooLong = fx.Call("WriteString", {2, "abc", 4});
  EXPECT_EQ(tooLong.error, ERR_STRTOOSHORT);
  EXPECT_EQ(tooLong.message, "Specified length exceeds string length!");
  EXPECT_EQ(Ok("FileLength", {2}).number(0), 0);
}

TEST_F(FileHandleCommandsTest, ReadWriteHandleOnAnExistingFile) {
  WriteBytes(dir / "rw.txt", "hello");
  Open(1, "rw.txt", kModeReadWriteConstant);
  EXPECT_EQ(Ok("FileLength", {1}).number(0), 5);
  EXPECT_EQ(Ok("ReadString", {1, 2}).string(0), "he");
  Ok("Seek", {1, -1});
  Ok("WriteLine", {1, "!"});
  EXPECT_EQ(Ok("FileLength", {1}).number(0), 8);
  Ok("Seek", {1, 0});
  EXPECT_EQ(Ok("ReadLine", {1}).string(0), "hello!");
  Ok("FlushFile", {1});
  EXPECT_EQ(ReadBytes(dir / "rw.txt"), "hello!\r\n");
}

TEST_F(FileHandleCommandsTest, ReopeningANumberNeverMixesTheOldHandlesBytesIn) {
  Open(1, "same.txt", kModeWriteConstant);
  Ok("WriteString", {1, "older"});
  Open(1, "same.txt", kModeWriteConstant);  // closes the first handle
  Ok("WriteString", {1, "new"});
  Ok("CloseFile", {1});
  EXPECT_EQ(ReadBytes(dir / "same.txt"), "new");

  // A failed open leaves the handle of that number as it was.
  Open(1, "same.txt", kModeReadConstant);
  EXPECT_EQ(fx.Call("OpenFile", {1, dir / "missing"}).error, ERR_READFILE);
  EXPECT_EQ(Ok("ReadString", {1, 3}).string(0), "new");
}

TEST_F(FileHandleCommandsTest, SetIOModeTakesTheTwoModesOnly) {
  Ok("SetIOMode", {1});
  Ok("SetIOMode", {0});
  EXPECT_EQ(fx.Call("SetIOMode", {2}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("SetIOMode", {}).error, ERR_MISSINGPARAMTR);
}

}  // namespace
}  // namespace tembrovia
