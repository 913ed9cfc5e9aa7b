// Names through the VM: virtual files (windows and strings), files linked into the applet,
// the path-string commands, existence, renaming and the current directory.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "dos_test.h"
#include "files/file_namespace.h"

namespace tembrovia {
namespace fs = std::filesystem;
namespace {

using PathCommandsTest = DosTest;

std::string Digits(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += static_cast<char>('0' + i % 10);
  return bytes;
}

TEST_F(PathCommandsTest, FileWindowsReadExactlyTheirBytes) {
  WriteBytes(dir / "data.bin", Digits(2000));
  const CallResult defined = Ok("DefineVirtualFile", {dir / "data.bin", 1000, 500, "pics/pic.png"});
  const std::string name = defined.string(0);
  EXPECT_EQ(name, ":::chunk1000:500*pic.png/" + (dir / "data.bin"));
  EXPECT_EQ(Ok("FilePart", {name}).string(0), "pic.png");
  EXPECT_EQ(fx.Call("PathPart", {name}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(Ok("Exists", {name}).number(0), 1);
  EXPECT_EQ(Ok("FileSize", {name}).number(0), 500);
  EXPECT_EQ(Ok("FileToString", {name}).string(0), Digits(2000).substr(1000, 500));

  Ok("OpenFile", {2, name});
  EXPECT_EQ(Ok("FileLength", {2}).number(0), 500);
  EXPECT_EQ(fx.Call("ReadString", {2, 501}).error, ERR_READRANGE);
  EXPECT_EQ(fx.Call("OpenFile", {3, name, kModeWriteConstant}).error, ERR_WRITEFILE);
  EXPECT_EQ(fx.Call("OpenFile", {3, name, kModeReadWriteConstant}).error, ERR_WRITEFILE);

  EXPECT_EQ(fx.Call("DefineVirtualFile", {dir / "data.bin", 0, 0, "x"}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("DefineVirtualFile", {"", 0, 10, "x"}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("DefineVirtualFile", {dir / "data.bin", -1, 10, "x"}).error, ERR_WRONGUSAGE);
  // Offsets past 4 GiB are kept whole; the window is then empty.
  const std::string far = Ok("DefineVirtualFile", {dir / "data.bin", 8589934592.0, 10, "x"}).string(0);
  EXPECT_EQ(far, ":::chunk8589934592:10*x/" + (dir / "data.bin"));
  EXPECT_EQ(Ok("FileSize", {far}).number(0), 0);
}

TEST_F(PathCommandsTest, StringFilesAreNamedByKeyAndOutliveTheirNameWhileOpen) {
  const std::string data("line one\nline \0two\n", 19);
  const std::string name = Ok("DefineVirtualFileFromString", {data, "dir/notes.txt"}).string(0);
  EXPECT_TRUE(name.starts_with(":::chunkS")) << name;
  EXPECT_EQ(Ok("FilePart", {name}).string(0), "notes.txt");
  EXPECT_EQ(Ok("FileToString", {name}).string(0), data);
  EXPECT_EQ(Ok("GetFileAttributes", {name}).value(0).Field("virtual")->number, 1);

  Ok("OpenFile", {1, name});
  EXPECT_EQ(Ok("ReadLine", {1}).string(0), "line one");
  Ok("UndefineVirtualStringFile", {name});
  EXPECT_EQ(Ok("ReadLine", {1}).string(0), std::string("line \0two", 9)) << "the open stream keeps the bytes";
  EXPECT_EQ(fx.Call("OpenFile", {2, name}).error, ERR_READFILE);
  EXPECT_EQ(Ok("Exists", {name}).number(0), 0);
  EXPECT_EQ(fx.Call("UndefineVirtualStringFile", {name}).error, ERR_WRONGUSAGE);

  // Names are keys into the defined strings: an altered key, length or token finds nothing.
  const std::string other = Ok("DefineVirtualFileFromString", {"abc", "a.txt"}).string(0);
  const size_t colon = other.find(':', 9);
  const std::string key = other.substr(9, colon - 9);
  const std::string forged[] = {
      ":::chunkS" + std::to_string(std::stoull(key) + 1) + other.substr(colon),
      other.substr(0, colon) + ":4" + other.substr(other.find('*')),
      other.substr(0, other.rfind('/') + 1) + "ffff",
  };
  for (const std::string& name : forged) {
    EXPECT_EQ(fx.Call("OpenFile", {2, name}).error, ERR_READFILE) << name;
  }
  EXPECT_EQ(Ok("FileToString", {other}).string(0), "abc");
  EXPECT_EQ(fx.Call("DefineVirtualFileFromString", {"", "empty"}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("UndefineVirtualStringFile", {dir / "plain.txt"}).error, ERR_WRONGUSAGE);
}

TEST(StringFileLifetime, StringFilesEndWithTheRun) {
  const size_t before = DefaultFileNamespace().StringFileCount();
  {
    CommandFixture fx;
    fx.Call("DefineVirtualFileFromString", {"abc", "a.txt"});
    fx.Call("DefineVirtualFileFromString", {"def", "b.txt"});
    EXPECT_EQ(DefaultFileNamespace().StringFileCount(), before + 2);
  }
  EXPECT_EQ(DefaultFileNamespace().StringFileCount(), before);
}

// The driver registers each file linked into the applet under its stored name; scripts open
// it by that name (any case, either slash) for reading, and it behaves as a file of its own.
TEST_F(PathCommandsTest, LinkedFilesOpenByTheirStoredName) {
  WriteBytes(dir / "applet.vxa", "HEADER" + std::string("picture bytes\n") + "TRAILER");
  DefaultFileNamespace().RegisterLinkedFile({"gfx/Logo.png", dir / "applet.vxa", 6, 14});
  struct Unlink {
    ~Unlink() { DefaultFileNamespace().ClearLinkedFiles(); }
  } unlink;

  Ok("OpenFile", {1, "GFX\\logo.PNG"});
  EXPECT_EQ(Ok("FileLength", {1}).number(0), 14);
  EXPECT_EQ(Ok("ReadLine", {1}).string(0), "picture bytes");
  EXPECT_EQ(Ok("Exists", {"gfx/logo.png"}).number(0), 1);
  EXPECT_EQ(Ok("FileSize", {"gfx/logo.png"}).number(0), 14);
  EXPECT_EQ(Ok("IsDirectory", {"gfx/logo.png"}).number(0), 0);
  const ScriptValue info = Ok("GetFileAttributes", {"gfx/logo.png"}).value(0);
  EXPECT_EQ(info.Field("virtual")->number, 1);
  EXPECT_EQ(info.Field("size")->number, 14);
  EXPECT_EQ(Ok("FileToString", {"gfx/logo.png"}).string(0), "picture bytes\n");
  Ok("CopyFile", {"gfx/logo.png", dir / "out"});
  EXPECT_EQ(ReadBytes(dir / "out/logo.png"), "picture bytes\n");  // named as the script named it
  EXPECT_EQ(fx.Call("OpenFile", {2, "gfx/logo.png", kModeWriteConstant}).error, ERR_WRITEFILE);
  EXPECT_TRUE(fs::exists(dir.path() / "applet.vxa"));
}

TEST_F(PathCommandsTest, PathStrings) {
  struct Case {
    const char* command;
    std::vector<Arg> args;
    std::string result;
  };
  const Case cases[] = {
      {"PathPart", {"C:/dir/file.txt"}, "C:/dir/"},
      {"PathPart", {"C:file"}, "C:"},
      {"PathPart", {"file.txt"}, ""},
      {"PathPart", {"dir\\sub\\f"}, "dir\\sub\\"},
      {"FilePart", {"C:file"}, "file"},
      {"FilePart", {"C:/dir/file.txt"}, "file.txt"},
      {"FilePart", {"PROGDIR:a.txt"}, "a.txt"},
      {"FullPath", {"dir/", "a.txt"}, "dir/a.txt"},
      {"FullPath", {"", "a.txt"}, "a.txt"},
      {"FullPath", {"dir", "a.txt"}, "dir/a.txt"},  // the host's separator
  };
  for (const Case& c : cases) EXPECT_EQ(Ok(c.command, c.args).string(0), c.result) << c.command;
}

TEST_F(PathCommandsTest, ExistenceSizeRenameAndDirectories) {
  WriteBytes(dir / "a.txt", "12345");
  EXPECT_EQ(Ok("Exists", {dir / "a.txt"}).number(0), 1);
  EXPECT_EQ(Ok("Exists", {dir / "b.txt"}).number(0), 0);
  EXPECT_EQ(Ok("FileSize", {dir / "a.txt"}).number(0), 5);
  EXPECT_EQ(Ok("FileSize", {dir / "b.txt"}).number(0), -1);
  EXPECT_EQ(Ok("IsDirectory", {dir.path().string()}).number(0), 1);
  const CallResult missing = fx.Call("IsDirectory", {dir / "b.txt"});
  EXPECT_EQ(missing.error, ERR_LOCK2);
  EXPECT_EQ(missing.message, "Error locking " + (dir / "b.txt") + "!");

  Ok("Rename", {dir / "a.txt", "elsewhere/b.txt"});  // only the file part counts
  EXPECT_EQ(ReadBytes(dir / "b.txt"), "12345");
  EXPECT_EQ(fx.Call("Rename", {dir / "a.txt", "c.txt"}).error, ERR_RENAME);
  EXPECT_EQ(fx.Call("Rename", {dir / "b.txt", ""}).error, ERR_WRONGUSAGE);

  Ok("MakeDirectory", {dir / "x/y/z"});
  EXPECT_TRUE(fs::is_directory(dir.path() / "x/y/z"));
  const CallResult blocked = fx.Call("MakeDirectory", {dir / "b.txt/sub"});
  EXPECT_EQ(blocked.error, ERR_CREATEDIR);
  EXPECT_EQ(blocked.message, "Error creating directory " + (dir / "b.txt/sub") + " !");
  EXPECT_EQ(fx.Call("MakeDirectory", {""}).error, ERR_WRONGUSAGE);

  const fs::path saved = fs::current_path();
  Ok("ChangeDirectory", {dir / "x"});
  EXPECT_EQ(Ok("GetCurrentDirectory").string(0), fs::canonical(dir.path() / "x").string());
  EXPECT_EQ(Ok("FileSize", {"../b.txt"}).number(0), 5) << "relative names follow the current directory";
  EXPECT_EQ(fx.Call("ChangeDirectory", {dir / "missing"}).error, ERR_LOCK2);
  EXPECT_EQ(fx.Call("ChangeDirectory", {dir / "b.txt"}).error, ERR_NOTADIR);
  EXPECT_EQ(fs::current_path(), fs::canonical(dir.path() / "x"));
  fs::current_path(saved);
}

}  // namespace
}  // namespace tembrovia
