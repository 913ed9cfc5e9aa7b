#include "manifest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "container_test_util.h"

namespace tembrovia {
namespace {

const std::vector<uint8_t> kChunk = {0x1B, 'V', 'X', 'B', 1};

ReadResult Pack(const std::string& manifest, const std::string& base = ".") {
  ManifestOutcome outcome = BuildContainerFromManifest(manifest, base, kChunk);
  EXPECT_EQ(outcome.error, "");
  return ReadBack(outcome.container);
}

TEST(VxpackManifest, WithoutManifestTheChunkAloneAtTheNewestVersion) {
  ReadResult read = Pack("");
  ASSERT_EQ(read.status.code, ERR_NONE);
  EXPECT_EQ(read.records.version, kNewestAppletVersion);
  EXPECT_EQ(read.records.chunk, kChunk);
  EXPECT_TRUE(read.records.objects.empty());
}

TEST(VxpackManifest, EveryDirectiveReachesTheContainer) {
  std::filesystem::path directory = std::filesystem::temp_directory_path() / "tembrovia-vxpack";
  std::filesystem::create_directories(directory);
  std::ofstream(directory / "pic.bin") << "PIXELS";
  std::ofstream(directory / "notes.txt") << "hello";

  ReadResult read = Pack(R"(# a demo
version 5.1
title "Demo applet"
size 800 600
color $102030
position 5 -100000
hostsize
borderless on
fixed off
scaling layer 1024 50% smooth
text 1 "About"
mode fakefullscreen
backfill gradient $FF0000 $0000FF
hidetitlebar 1
screensize 1024 768
depth 24
const #SPEED 2.5
const #GREETING "hi there"
label start 4
label loop 9
linemap 1 10 1 "main.src"
linemap 11 20 1 "inc.src" "main.src"
file "data/notes.txt" notes.txt
file "data/far.txt" notes.txt dataarea
brush 2 "pics/pic.png" link=pic.bin transparency=$FF00FF width=16 line=12
display 3 "" title="Second window" width=320 flags=$C00 dragregion=0,0,320,20 gradientstop=$FF:0.5
font 4 "fonts/x.font" size=24 engine=2 nocache=1
plugin 0 "fancy.vxp" version=2 revision=1
file 5 "levels.txt" line=30
)",
                         directory.string());
  std::filesystem::remove_all(directory);
  ASSERT_EQ(read.status.code, ERR_NONE);
  const AppletRecords& r = read.records;
  EXPECT_EQ(r.version, (AppletVersion{5, 1}));
  EXPECT_EQ(r.defaultTitle, "Demo applet");
  EXPECT_TRUE(r.hostSizedDisplay);
  ASSERT_EQ(r.objects.size(), 6u);

  const AppletObject& display1 = r.objects[0];
  EXPECT_EQ(display1.width, 800);
  EXPECT_EQ(display1.fillColor, 0x102030);
  EXPECT_EQ(display1.x, 5);
  EXPECT_EQ(display1.flags & 0x1FF, kDisplayBorderless | kDisplayLayerScale | kDisplaySmoothScale);
  EXPECT_EQ(display1.givenFlags & kDisplayFixed, kDisplayFixed);
  EXPECT_EQ(display1.scaleHeight, -50);  // percentages are stored negative

  const AppletObject& brush = r.objects[1];
  EXPECT_EQ(brush.name, "pics/pic.png");
  EXPECT_EQ(brush.extra, 0xFF00FF);
  EXPECT_EQ(brush.width, 16);
  EXPECT_EQ(brush.sourceLine, 12);
  EXPECT_EQ(brush.dataSize, 6);

  const AppletObject& display3 = r.objects[2];
  EXPECT_EQ(display3.title, "Second window");
  EXPECT_EQ(display3.height, 480);  // defaults of a display record
  EXPECT_EQ(display3.flags, 0xC00);
  EXPECT_EQ(display3.dragRegions, (std::vector<RegionRecord>{{14, 0, 0, 320, 20}}));
  EXPECT_EQ(display3.gradient.stops, (std::vector<std::pair<int32_t, int32_t>>{{0xFF, 500000}}));
  EXPECT_TRUE(display3.pubScreen.empty());  // 5.1 has no public-screen name

  EXPECT_EQ(r.objects[3].extra, 24);
  EXPECT_EQ(r.objects[3].flag, 0x10002);
  EXPECT_EQ(r.objects[4].type, kObjectPluginRequirement);
  EXPECT_EQ(r.objects[4].extra, 2);
  // "file" with an id is a file object, not a linked file.
  EXPECT_EQ(r.objects[5].type, kObjectFile);
  EXPECT_EQ(r.objects[5].name, "levels.txt");
  EXPECT_EQ(r.linkedFiles.size(), 2u);

  EXPECT_EQ(read.display.applicationTexts[0], "About");
  EXPECT_EQ(read.display.mode, kDisplayModeFakeFullScreen);
  EXPECT_EQ(read.display.backfill.mode, kBackfillGradient);
  EXPECT_EQ(read.display.backfill.endColor, 0x0000FF);
  EXPECT_EQ(read.display.screenDepth, 24);
  std::vector<UserConstant> constants = {{"SPEED", false, "", 2.5},
                                         {"GREETING", true, "hi there", 0}};
  EXPECT_EQ(r.userConstants, constants);
  EXPECT_EQ(r.labels, (std::vector<AppletLabel>{{"start", 4}, {"loop", 9}}));
  ASSERT_EQ(r.lineMap.size(), 2u);
  EXPECT_EQ(r.lineMap[1].scriptFile, "main.src");
  ASSERT_EQ(r.linkedFiles.size(), 2u);
  EXPECT_EQ(r.linkedFiles[1].name, "data/far.txt");
  EXPECT_EQ(r.linkedFiles[1].size, 5);
  EXPECT_EQ(r.chunk, kChunk);
}

struct BadManifest {
  const char* text;
  const char* error;
};

class VxpackManifestErrorTest : public ::testing::TestWithParam<BadManifest> {};

TEST_P(VxpackManifestErrorTest, NamesTheLine) {
  ManifestOutcome outcome = BuildContainerFromManifest(GetParam().text, ".", kChunk);
  EXPECT_EQ(outcome.error, GetParam().error);
  EXPECT_TRUE(outcome.container.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, VxpackManifestErrorTest,
    ::testing::Values(BadManifest{"title \"open", "line 1: unterminated quote"},
                      BadManifest{"\nsize 10", "line 2: missing values"},
                      BadManifest{"size ten 10", "line 1: not a number: ten"},
                      BadManifest{"sparkle 1", "line 1: unknown keyword sparkle"},
                      BadManifest{"brush 1 \"a\" colour=1", "line 1: unknown key colour"},
                      BadManifest{"version 5", "line 1: version is written major.minor"},
                      BadManifest{"file x /nonexistent/file", "line 1: cannot read /nonexistent/file"}));

TEST(VxpackManifest, NeedsAChunk) {
  EXPECT_EQ(BuildContainerFromManifest("title x", ".", std::nullopt).error,
            "no chunk: name one with \"chunk\" or on the command line");
}

TEST(VxpackManifest, VersionAboveTheNewestIsWrittenAndRefusedByThePlayer) {
  ReadResult read = ReadBack(BuildContainerFromManifest("version 5.3", ".", kChunk).container);
  EXPECT_EQ(read.status.code, ERR_APPLETVERSION);
  EXPECT_EQ(read.status.text, "5.3");
}

}  // namespace
}  // namespace tembrovia
