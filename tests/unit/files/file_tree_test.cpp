// Copying, deleting, listing and attributes on real directory trees.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/date_string.h"
#include "files/directory_listing.h"
#include "files/directory_ops.h"
#include "files/file_attributes.h"
#include "files/file_copy.h"
#include "files/file_delete.h"
#include "files/file_info.h"
#include "files/file_namespace.h"
#include "files/virtual_name.h"
#include "scratch_dir.h"

namespace tembrovia {
namespace fs = std::filesystem;
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info;
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

CopyRequest CopyReq(std::string source, std::string destinationDir, std::string newName = "",
                    std::string pattern = "", bool recurse = true) {
  CopyRequest request;
  request.source = std::move(source);
  request.destinationDir = std::move(destinationDir);
  request.newName = std::move(newName);
  request.pattern = std::move(pattern);
  request.recurse = recurse;
  return request;
}

DeleteRequest DeleteReq(std::string path, std::string pattern = "") {
  DeleteRequest request;
  request.path = std::move(path);
  request.pattern = std::move(pattern);
  return request;
}

FileAttributeChange Change(std::optional<uint32_t> flags, std::optional<std::string> time = std::nullopt,
                           std::optional<std::string> lastAccessTime = std::nullopt,
                           std::optional<std::string> creationTime = std::nullopt) {
  return FileAttributeChange{flags, time, lastAccessTime, creationTime};
}

class FileTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "src/sub/deeper");
    WriteBytes(dir / "src/a.txt", "alpha");
    WriteBytes(dir / "src/b.jpg", std::string(40000, 'b'));  // several copy blocks
    WriteBytes(dir / "src/sub/c.txt", "gamma");
    WriteBytes(dir / "src/sub/deeper/d.txt", "delta");
  }
  ScratchDir dir;
  FileNamespace names;
};

TEST_F(FileTreeTest, CopiesAFileWithNewNameDatesAndMode) {
  chmod((dir / "src/a.txt").c_str(), 0640);
  struct timespec times[2] = {{1000000000, 0}, {1100000000, 0}};
  utimensat(AT_FDCWD, (dir / "src/a.txt").c_str(), times, 0);
  FileError result = CopyFiles(CopyReq(dir / "src/a.txt", dir / "out/x", "n/renamed.txt"),
                               nullptr, names);
  EXPECT_EQ(result.code, ERR_NONE);
  EXPECT_EQ(ReadBytes(dir / "out/x/renamed.txt"), "alpha");
  EXPECT_EQ(ModeOf(dir / "out/x/renamed.txt"), 0640u);
  EXPECT_EQ(QueryHostFileInfo(dir / "out/x/renamed.txt")->modified, 1100000000);
}

TEST_F(FileTreeTest, CopyErrors) {
  EXPECT_EQ(CopyFiles({}, nullptr, names).code, ERR_WRONGUSAGE);
  FileError missing = CopyFiles(CopyReq(dir / "nope", dir / "out"), nullptr, names);
  EXPECT_EQ(missing.code, ERR_LOCK2);
  EXPECT_EQ(missing.argument, dir / "nope");
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/a.txt", dir / "out", "", "*"), nullptr, names).code,
            ERR_NODIRPATTERN);
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src", dir / "out", "x"), nullptr, names).code,
            ERR_WRONGUSAGE);
  WriteBytes(dir / "plainfile", "x");
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/a.txt", dir / "plainfile/sub"), nullptr, names).code,
            ERR_CREATEDIR);
}

TEST_F(FileTreeTest, CopyOntoItselfOrIntoItselfIsRefusedWithoutHarm) {
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/a.txt", dir / "src"), nullptr, names).code, ERR_WRONGUSAGE);
  EXPECT_EQ(ReadBytes(dir / "src/a.txt"), "alpha");
  // Through a hard link, and through a callback that says "overwrite".
  ASSERT_EQ(link((dir / "src/a.txt").c_str(), (dir / "hard.txt").c_str()), 0);
  auto overwrite = [](const CopyEvent&) { return CallbackAnswer{1}; };
  EXPECT_EQ(CopyFiles(CopyReq(dir / "hard.txt", dir / "src", "a.txt"), overwrite, names)
                .code,
            ERR_WRONGUSAGE);
  EXPECT_EQ(ReadBytes(dir / "src/a.txt"), "alpha");
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src", dir / "src/sub/inner"), nullptr, names).code,
            ERR_WRONGUSAGE);
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src", dir / "src"), nullptr, names).code, ERR_WRONGUSAGE);
  EXPECT_FALSE(fs::exists(dir.path() / "src/sub/inner"));
}

TEST_F(FileTreeTest, CopiesDirectoriesWithPatternAndRecurse) {
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src", dir / "all"), nullptr, names).code, ERR_NONE);
  EXPECT_EQ(ReadBytes(dir / "all/sub/deeper/d.txt"), "delta");
  EXPECT_EQ(ReadBytes(dir / "all/b.jpg"), std::string(40000, 'b'));

  EXPECT_EQ(CopyFiles(CopyReq(dir / "src", dir / "txt", "", "*.txt"), nullptr, names).code,
            ERR_NONE);
  EXPECT_TRUE(fs::exists(dir.path() / "txt/a.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "txt/b.jpg"));
  EXPECT_TRUE(fs::exists(dir.path() / "txt/sub/deeper/d.txt"));

  EXPECT_EQ(CopyFiles(CopyReq(dir / "src", dir / "flat", "", "", false), nullptr, names).code,
            ERR_NONE);
  EXPECT_TRUE(fs::exists(dir.path() / "flat/a.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "flat/sub"));

  EXPECT_EQ(CopyFiles(CopyReq(dir / "src", dir / "some", "", "s*;*.txt", false),
                      nullptr, names)
                .code,
            ERR_NONE);
  EXPECT_TRUE(fs::exists(dir.path() / "some/sub/c.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "some/sub/deeper")) << "'deeper' does not match";
}

TEST_F(FileTreeTest, CallbackDecidesOverwriteUnprotectAndAbort) {
  fs::create_directory(dir.path() / "dst");
  WriteBytes(dir / "dst/a.txt", "old");
  std::vector<int> actions;
  auto skip = [&](const CopyEvent& e) { actions.push_back(e.action); return CallbackAnswer{0}; };
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/a.txt", dir / "dst"), skip, names).code, ERR_NONE);
  EXPECT_EQ(ReadBytes(dir / "dst/a.txt"), "old");
  EXPECT_EQ(actions, std::vector<int>{kCopyFileOverwrite});

  // Read-only destination: without a callback it is skipped silently.
  chmod((dir / "dst/a.txt").c_str(), 0444);
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/a.txt", dir / "dst"), nullptr, names).code, ERR_NONE);
  EXPECT_EQ(ReadBytes(dir / "dst/a.txt"), "old");

  actions.clear();
  std::vector<int64_t> progress;
  auto yes = [&](const CopyEvent& e) {
    actions.push_back(e.action);
    if (e.action == kCopyFileStatus) progress.push_back(e.copied);
    return CallbackAnswer{1.5};
  };
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/a.txt", dir / "dst"), yes, names).code, ERR_NONE);
  EXPECT_EQ(ReadBytes(dir / "dst/a.txt"), "alpha");
  EXPECT_EQ(actions, (std::vector<int>{kCopyFileOverwrite, kCopyFileUnprotect, kCopyFileStatus}));

  // Status answer 1 aborts after the first block and removes the partial copy, no error.
  int calls = 0;
  auto stopAfterFirst = [&](const CopyEvent& e) {
    ++calls;
    EXPECT_EQ(e.fileSize, 40000);
    return CallbackAnswer{e.action == kCopyFileStatus ? 1.0 : 2.0};
  };
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/b.jpg", dir / "dst"), stopAfterFirst, names).code,
            ERR_NONE);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(fs::exists(dir.path() / "dst/b.jpg"));

  auto raises = [](const CopyEvent&) { return CallbackAnswer{0, ERR_WRONGUSAGE}; };
  EXPECT_EQ(CopyFiles(CopyReq(dir / "src/b.jpg", dir / "dst"), raises, names).code, ERR_WRONGUSAGE);
  EXPECT_FALSE(fs::exists(dir.path() / "dst/b.jpg"));
}

TEST_F(FileTreeTest, CopiesALinkedFileOut) {
  WriteBytes(dir / "applet.vxa", "....payload....");
  names.RegisterLinkedFile({.name = "data/in.bin", .hostPath = dir / "applet.vxa", .offset = 4, .size = 7});
  EXPECT_EQ(CopyFiles(CopyReq("data/in.bin", dir / "x"), nullptr, names).code, ERR_NONE);
  EXPECT_EQ(ReadBytes(dir / "x/in.bin"), "payload");
}

TEST_F(FileTreeTest, DeletesTreesAndKeepsWhatItShould) {
  EXPECT_EQ(DeleteFiles(DeleteReq(""), nullptr, names).code, ERR_WRONGUSAGE);
  EXPECT_EQ(DeleteFiles(DeleteReq(":::chunk0:1*a/" + (dir / "src/a.txt")), nullptr, names).code, ERR_WRONGUSAGE);
  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src/a.txt", "*"), nullptr, names).code, ERR_NODIRPATTERN);
  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "missing"), nullptr, names).code, ERR_NONE);

  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src", "*.txt"), nullptr, names).code, ERR_NONE);
  EXPECT_FALSE(fs::exists(dir.path() / "src/a.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "src/sub/deeper/d.txt"));
  EXPECT_TRUE(fs::exists(dir.path() / "src/b.jpg"));
  EXPECT_TRUE(fs::exists(dir.path() / "src/sub/deeper")) << "a pattern keeps the directories";

  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src/"), nullptr, names).code, ERR_NONE);
  EXPECT_TRUE(fs::exists(dir.path() / "src"));
  EXPECT_TRUE(fs::is_empty(dir.path() / "src"));
  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src"), nullptr, names).code, ERR_NONE);
  EXPECT_FALSE(fs::exists(dir.path() / "src"));
}

TEST_F(FileTreeTest, DeleteNeverFollowsLinksOutOfTheTree) {
  fs::create_directory(dir.path() / "outside");
  WriteBytes(dir / "outside/keep.txt", "precious");
  fs::create_directory_symlink(dir.path() / "outside", dir.path() / "src/sub/link");
  fs::create_symlink(dir.path() / "outside/keep.txt", dir.path() / "src/filelink");
  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src"), nullptr, names).code, ERR_NONE);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "src")));
  EXPECT_EQ(ReadBytes(dir / "outside/keep.txt"), "precious");
}

TEST_F(FileTreeTest, DeleteProtectedFilesPerCallback) {
  chmod((dir / "src/a.txt").c_str(), 0444);
  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src/a.txt"), nullptr, names).code, ERR_NONE);
  EXPECT_TRUE(fs::exists(dir.path() / "src/a.txt")) << "skipped without a callback";
  std::vector<std::pair<int, std::string>> events;
  auto answer = [&](const DeleteEvent& e) {
    events.emplace_back(e.action, e.file);
    return CallbackAnswer{2};
  };
  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src/a.txt"), answer, names).code, ERR_NONE);
  EXPECT_FALSE(fs::exists(dir.path() / "src/a.txt"));
  EXPECT_EQ(events, (std::vector<std::pair<int, std::string>>{{kDeleteFileUnprotect, dir / "src/a.txt"},
                                                               {kDeleteFileStatus, dir / "src/a.txt"}}));
  auto abort = [](const DeleteEvent&) { return CallbackAnswer{1}; };
  EXPECT_EQ(DeleteFiles(DeleteReq(dir / "src"), abort, names).code, ERR_NONE);
  EXPECT_TRUE(fs::exists(dir.path() / "src/b.jpg"));
}

TEST_F(FileTreeTest, AttributesMapToModeBitsAndBack) {
  std::string file = dir / "src/a.txt";
  for (mode_t mode : {0644, 0600, 0444, 0755, 0020, 0000, 0777}) {
    chmod(file.c_str(), mode);
    uint32_t flags = QueryFileInfo(file, names)->flags;
    EXPECT_EQ((flags & kFileAttrReadOnly) != 0, (mode & 0200) == 0) << std::oct << mode;
    ASSERT_EQ(ChangeFileAttributes(file, Change(flags), names), ERR_NONE);
    EXPECT_EQ(ModeOf(file), mode) << "setting what was read changes nothing: " << std::oct << mode;
  }
  chmod(file.c_str(), 0644);
  EXPECT_EQ(ChangeFileAttributes(file, Change(kFileAttrReadOnly), names), ERR_NONE);
  EXPECT_EQ(ModeOf(file), 0444u) << "READONLY alone keeps the file readable";
  EXPECT_EQ(ChangeFileAttributes(file, Change(kFileAttrArchive), names), ERR_NONE);
  EXPECT_EQ(ModeOf(file), 0644u);
  EXPECT_EQ(ChangeFileAttributes(file, Change(kFileAttrReadUsr | kFileAttrExecuteUsr), names), ERR_NONE);
  EXPECT_EQ(ModeOf(file), 0500u);
  EXPECT_EQ(ChangeFileAttributes(file, Change(kFileAttrNormal | kFileAttrReadOnly), names), ERR_NONE);
  EXPECT_EQ(ModeOf(file), 0700u) << "NORMAL overrides";
  EXPECT_EQ(QueryFileInfo(dir / "src/sub", names)->flags & kFileAttrHidden, 0u);
  WriteBytes(dir / ".hidden", "");
  EXPECT_NE(QueryFileInfo(dir / ".hidden", names)->flags & kFileAttrHidden, 0u);
}

TEST_F(FileTreeTest, DatesChangeWithoutCreationTimeAndAreValidatedFirst) {
  std::string file = dir / "src/a.txt";
  chmod(file.c_str(), 0644);
  EXPECT_EQ(ChangeFileAttributes(file, Change(kFileAttrReadOnly, "5-Mar-2012 14:07:09", std::nullopt, std::nullopt), names),
            ERR_INVALIDDATE);
  EXPECT_EQ(ModeOf(file), 0644u) << "nothing changed";
  EXPECT_EQ(ChangeFileAttributes(file,
                                 Change(std::nullopt, "05-Mar-2012 14:07:09", std::nullopt, "01-Jan-2000 00:00:00"), names),
            ERR_NONE);
  FileInfo info = *QueryFileInfo(file, names);
  EXPECT_EQ(FormatDateString(info.modified), "05-Mar-2012 14:07:09");
  EXPECT_EQ(ChangeFileAttributes(file, Change(std::nullopt, std::nullopt, "06-apr-2013 01:02:03", std::nullopt), names), ERR_NONE);
  info = *QueryFileInfo(file, names);
  EXPECT_EQ(FormatDateString(info.accessed), "06-Apr-2013 01:02:03");
  EXPECT_EQ(FormatDateString(info.modified), "05-Mar-2012 14:07:09") << "dates not given keep their values";
  EXPECT_EQ(ChangeFileAttributes(dir / "missing", Change(0), names), ERR_LOCK2);
  EXPECT_EQ(ChangeFileAttributes(":::chunk0:1*a/b", Change(0), names), ERR_WRONGUSAGE);
}

TEST_F(FileTreeTest, InfoOfFilesDirectoriesAndVirtualNames) {
  FileInfo file = *QueryFileInfo(dir / "src/b.jpg", names);
  EXPECT_FALSE(file.isDirectory);
  EXPECT_EQ(file.size, 40000);
  EXPECT_EQ(file.path, fs::canonical(dir.path() / "src/b.jpg").string());
  EXPECT_TRUE(QueryFileInfo(dir / "src", names)->isDirectory);
  EXPECT_FALSE(QueryFileInfo(dir / "missing", names));
  std::string window = MakeWindowName(100, 50, "part.bin", dir / "src/b.jpg");
  FileInfo part = *QueryFileInfo(window, names);
  EXPECT_TRUE(part.isVirtual);
  EXPECT_EQ(part.size, 50);
  EXPECT_EQ(part.path, window);
  EXPECT_EQ(part.modified, file.modified);
  EXPECT_FALSE(QueryFileInfo(":::chunkS9:1*x/9", names)) << "undefined string file";
  EXPECT_EQ(QueryFileInfo(names.DefineStringFile("abc", "s"), names)->size, 3);
}

TEST_F(FileTreeTest, ListingAndReadDirectory) {
  WriteBytes(dir / "src/B.txt", "");
  std::vector<std::string> files, dirs;
  EXPECT_EQ(ReadDirectoryNames(dir / "missing", true, files, dirs, names), ERR_LOCK2);
  ASSERT_EQ(ReadDirectoryNames(dir / "src", true, files, dirs, names), ERR_NONE);
  EXPECT_EQ(files, (std::vector<std::string>{"B.txt", "a.txt", "b.jpg"}));
  EXPECT_EQ(dirs, std::vector<std::string>{"sub"});

  std::unique_ptr<DirectoryListing> listing;
  EXPECT_EQ(DirectoryListing::Open(dir / "missing", listing, names), ERR_LOCK2);
  ASSERT_EQ(DirectoryListing::Open(dir / "src/sub", listing, names), ERR_NONE);
  std::vector<std::string> seen;
  while (auto entry = listing->Next()) seen.push_back(entry->name + (entry->info.isDirectory ? "/" : ""));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"c.txt", "deeper/"}));
  EXPECT_FALSE(listing->Next());
  EXPECT_FALSE(listing->Next()) << "stays exhausted";
}

TEST_F(FileTreeTest, MakeDirectoryRenameAndChangeDirectory) {
  EXPECT_EQ(MakeDirectory("", names), ERR_WRONGUSAGE);
  EXPECT_EQ(MakeDirectory(dir / "m/n/o", names), ERR_NONE);
  EXPECT_TRUE(fs::is_directory(dir.path() / "m/n/o"));
  EXPECT_EQ(MakeDirectory(dir / "src/a.txt/x", names), ERR_CREATEDIR);

  EXPECT_EQ(RenameFile(dir / "src/a.txt", "elsewhere/z.txt", names), ERR_NONE);
  EXPECT_EQ(ReadBytes(dir / "src/z.txt"), "alpha") << "only the file part of the new name counts";
  EXPECT_EQ(RenameFile(dir / "src/z.txt", "b.jpg", names), ERR_RENAME) << "an existing file is not replaced";
  EXPECT_EQ(RenameFile(dir / "src/none", "q", names), ERR_RENAME);
  EXPECT_EQ(RenameFile("", "q", names), ERR_WRONGUSAGE);
  EXPECT_EQ(RenameFile(":::chunk0:1*a/b", "q", names), ERR_WRONGUSAGE);

  std::string saved = CurrentDirectory();
  ASSERT_TRUE(ChangeDirectory(dir.path().string() + "\\src", names));
  EXPECT_EQ(CurrentDirectory(), fs::canonical(dir.path() / "src").string());
  EXPECT_FALSE(ChangeDirectory(dir / "missing", names));
  ASSERT_TRUE(ChangeDirectory(saved, names));
}

}  // namespace
}  // namespace tembrovia
