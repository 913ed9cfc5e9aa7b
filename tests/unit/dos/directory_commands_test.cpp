// Directory listings and file attributes through the VM.
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "dos_test.h"

namespace tembrovia {
namespace fs = std::filesystem;
namespace {

class DirectoryCommandsTest : public DosTest {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "d/zeta");
    fs::create_directories(dir.path() / "d/Alpha");
    WriteBytes(dir / "d/b.txt", "bb");
    WriteBytes(dir / "d/a.txt", "a");
    WriteBytes(dir / "d/C.txt", "ccc");
  }
};

std::string Items(const ScriptValue& table) {
  std::string items;
  for (size_t i = 0; const ScriptValue* item = table.Item(static_cast<double>(i)); ++i) {
    items += "[" + item->text + "]";
  }
  return items;
}

TEST_F(DirectoryCommandsTest, ReadDirectoryFillsTwoListsEndingInAnEmptyName) {
  fx.SetGlobal("files", Arg::List({"old"}));
  fx.SetGlobal("dirs", Arg::List({}));
  const CallResult r = Ok("ReadDirectory", {dir / "d", Arg::Global("files"), Arg::Global("dirs")});
  ASSERT_EQ(r.count(), 2u);
  EXPECT_EQ(r.number(0), 3);
  EXPECT_EQ(r.number(1), 2);
  EXPECT_EQ(Items(fx.Global("files")), "[C.txt][a.txt][b.txt][]");
  EXPECT_EQ(Items(fx.Global("dirs")), "[Alpha][zeta][]");

  const CallResult missing = fx.Call("ReadDirectory", {dir / "none", Arg::Global("files"), Arg::Global("dirs")});
  EXPECT_EQ(missing.error, ERR_LOCK2);
  EXPECT_EQ(missing.message, "Error locking " + (dir / "none") + "!");
  EXPECT_EQ(fx.Call("ReadDirectory", {dir / "d", "x", Arg::Global("dirs")}).error, ERR_TABEXPECTED);
}

TEST_F(DirectoryCommandsTest, ListingEntryByEntry) {
  const ScriptValue handle = Ok("OpenDirectory", {kNil, dir / "d"}).value(0);
  EXPECT_EQ(Ok("GetObjectType", {handle}).number(0), kTypeDirectory);
  std::map<std::string, ScriptValue> entries;
  for (int i = 0; i < 5; ++i) {
    const CallResult r = Ok("NextDirectoryEntry", {handle});
    ASSERT_EQ(r.count(), 1u);
    entries[r.value(0).Field("name")->text] = r.value(0);
  }
  for (int i = 0; i < 2; ++i) EXPECT_EQ(Ok("NextDirectoryEntry", {handle}).count(), 0u) << "and stays exhausted";
  ASSERT_EQ(entries.size(), 5u);
  const ScriptValue& file = entries["C.txt"];
  EXPECT_EQ(file.Field("type")->number, 0);
  EXPECT_EQ(file.Field("size")->number, 3);
  EXPECT_EQ(file.Field("time")->text.size(), 20u);  // "05-Mar-2012 14:07:09"
  ASSERT_NE(file.Field("lastaccesstime"), nullptr);
  ASSERT_NE(file.Field("creationtime"), nullptr);
  EXPECT_EQ(entries["zeta"].Field("type")->number, 1);
  EXPECT_EQ(entries["zeta"].Field("size"), nullptr);
  Ok("CloseDirectory", {handle});
  EXPECT_EQ(fx.Call("NextDirectoryEntry", {handle}).error, ERR_FINDARRAY);

  const CallResult unknown = fx.Call("NextDirectoryEntry", {4});
  EXPECT_EQ(unknown.error, ERR_FINDDIR);
  EXPECT_EQ(unknown.message, "Could not find directory handle 4!");
  EXPECT_EQ(fx.Call("OpenDirectory", {1, dir / "none"}).error, ERR_LOCK2);
  EXPECT_EQ(fx.Call("OpenDirectory", {1, dir / "d/a.txt"}).error, ERR_EXAMINE);
}

TEST_F(DirectoryCommandsTest, AttributesAndDates) {
  const std::string path = dir / "d/a.txt";
  Ok("SetFileAttributes", {path, Arg::Table({{"time", "05-Mar-2012 14:07:09"},
                                             {"lastaccesstime", "06-apr-2013 01:02:03"},
                                             {"creationtime", "01-Jan-2000 00:00:00"}})});
  const ScriptValue info = Ok("GetFileAttributes", {path}).value(0);
  EXPECT_EQ(info.Field("path")->text, fs::canonical(path).string());
  EXPECT_EQ(info.Field("virtual")->number, 0);
  EXPECT_EQ(info.Field("type")->number, 0);
  EXPECT_EQ(info.Field("size")->number, 1);
  EXPECT_EQ(info.Field("time")->text, "05-Mar-2012 14:07:09");
  EXPECT_EQ(info.Field("lastaccesstime")->text, "06-Apr-2013 01:02:03");

  const CallResult badDate = fx.Call("SetFileAttributes", {path, Arg::Table({{"time", "5-Mar-2012 14:07:09"}})});
  EXPECT_EQ(badDate.error, ERR_INVALIDDATE);
  EXPECT_EQ(badDate.message, "Invalid date format specification!");
  EXPECT_EQ(Ok("GetFileAttributes", {path}).value(0).Field("time")->text, "05-Mar-2012 14:07:09");

  Ok("SetFileAttributes", {path, Arg::Table({{"flags", 32768}})});  // #FILEATTR_READONLY
  const double flags = Ok("GetFileAttributes", {path}).value(0).Field("flags")->number;
  EXPECT_TRUE(static_cast<uint32_t>(flags) & 32768u);
  struct stat mode;
  ASSERT_EQ(stat(path.c_str(), &mode), 0);
  EXPECT_EQ(mode.st_mode & 0222, 0u);
  Ok("SetFileAttributes", {path, Arg::Table({{"flags", 65536}})});  // #FILEATTR_NORMAL
  EXPECT_FALSE(static_cast<uint32_t>(Ok("GetFileAttributes", {path}).value(0).Field("flags")->number) & 32768u);

  EXPECT_EQ(fx.Call("GetFileAttributes", {dir / "none"}).error, ERR_LOCK2);
  EXPECT_EQ(fx.Call("SetFileAttributes", {dir / "none", Arg::Table({})}).error, ERR_LOCK2);
  EXPECT_EQ(fx.Call("SetFileAttributes", {":::chunk0:1*a/" + path, Arg::Table({})}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("SetFileAttributes", {path, Arg::Table({{"flags", "x"}})}).error, ERR_NUMTABLEARG);
  EXPECT_EQ(Ok("GetFileAttributes", {dir / "d/zeta"}).value(0).Field("type")->number, 1);
}

}  // namespace
}  // namespace tembrovia
