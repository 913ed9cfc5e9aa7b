#include <gtest/gtest.h>

#include "app/container/applet_writer.h"
#include "app/container/record_layout.h"
#include "container_test_util.h"

namespace tembrovia {
namespace {

// Every type-specific field set to a value that differs from its default.
AppletObject FullRecord(uint8_t type, int32_t id, const std::string& name) {
  AppletObject record;
  record.type = type;
  record.id = id;
  record.name = name;
  record.extra = -1;
  record.flag = 1;
  record.sourceLine = 40 + id;
  int32_t next = 3;
  for (const FieldSpec& field : FindObjectLayout(type)->fields) {
    if (field.member) record.*field.member = next++;
  }
  record.gradient = {3, 100000, 200000, 300000, 400000, {{0xFF0000, 0}, {0x0000FF, 1000000}}};
  if (type == kObjectDisplay) {
    record.dragRegions = {{14, 1, 2, 3, 4}};
    record.sizeRegions = {{14, 5, 6, 7, 8}, {14, 9, 10, 11, 12}};
    record.title = "Window";
    record.pubScreen = "Workbench";
  }
  return record;
}

// What reading a record written in an older format gives: gated fields keep their defaults.
AppletObject AsReadIn(AppletObject record, AppletVersion version) {
  AppletObject defaults;
  if (record.type == kObjectDisplay) defaults.fillStyle = kBackfillColor;
  for (const FieldSpec& field : FindObjectLayout(record.type)->fields) {
    if (version >= field.since) continue;
    if (field.member) record.*field.member = defaults.*field.member;
    if (field.codec == FieldCodec::kGradient) record.gradient = defaults.gradient;
    if (field.codec == FieldCodec::kPubScreen) record.pubScreen.clear();
  }
  // Only records that carry a gradient keep one.
  bool hasGradient = false;
  for (const FieldSpec& field : FindObjectLayout(record.type)->fields) {
    hasGradient = hasGradient || field.codec == FieldCodec::kGradient;
  }
  if (!hasGradient) record.gradient = defaults.gradient;
  if (record.type != kObjectDisplay) {
    record.dragRegions.clear();
    record.sizeRegions.clear();
    record.title.clear();
    record.pubScreen.clear();
  }
  return record;
}

class VersionGateTest : public ::testing::TestWithParam<AppletVersion> {};

TEST_P(VersionGateTest, RecordsCarryExactlyTheFieldsOfTheirVersion) {
  AppletVersion version = GetParam();
  std::vector<PackedObject> objects;
  for (const ObjectLayout& layout : AllObjectLayouts()) {
    objects.push_back({FullRecord(layout.type, layout.type + 1, "obj" + std::to_string(layout.type)), {}});
  }
  ContainerBuilder builder;
  builder.Version(version);
  builder.Objects(objects);
  builder.Script({0x1B, 'V', 'X', 'B'});

  ReadResult read = ReadBack(builder.Build());
  ASSERT_EQ(read.status.code, ERR_NONE) << version.ToString();
  ASSERT_EQ(read.records.objects.size(), objects.size());
  for (size_t i = 0; i < objects.size(); ++i) {
    EXPECT_EQ(read.records.objects[i], AsReadIn(objects[i].record, version))
        << "type " << i << " in " << version.ToString();
  }
  // The script after the records is found: no gated field was consumed or skipped.
  EXPECT_EQ(read.records.chunk, (std::vector<uint8_t>{0x1B, 'V', 'X', 'B'}));
  EXPECT_EQ(read.records.version, version);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionGateTest,
                         ::testing::Values(AppletVersion{2, 0}, AppletVersion{3, 0},
                                           AppletVersion{3, 1}, AppletVersion{4, 1},
                                           AppletVersion{4, 6}, AppletVersion{4, 7},
                                           AppletVersion{5, 0}, AppletVersion{5, 1},
                                           AppletVersion{5, 2}));

TEST(ContainerRoundTrip, EverySectionComesBack) {
  ContainerBuilder builder;
  builder.Version({5, 2});
  builder.Title("Demo");
  builder.DisplaySize(800, 600);
  builder.DisplayColor(0x112233);
  builder.DisplayPosition(10, 20);
  builder.HostSize();
  builder.StyleFlag(kSectionBorderless, true);
  builder.StyleFlag(kSectionNoMinimize, true);
  builder.StyleFlag(kSectionFixed, false);
  builder.Scaling(true, 1280, -50, true);
  builder.ApplicationText(0, "Title text");
  builder.ApplicationText(4, std::string(300, 'v'));
  builder.Mode(kDisplayModeFakeFullScreen);
  BackfillConfig backfill;
  backfill.mode = kBackfillPicture;
  backfill.brushId = 4;
  backfill.pictureX = 5;
  backfill.pictureY = 6;
  backfill.startColor = 7;
  backfill.endColor = 8;
  backfill.scalePicture = true;
  builder.Backfill(backfill);
  builder.HideTitleBar(1);
  builder.ScreenSize(1024, 768);
  builder.ScreenDepth(32);
  std::vector<LineMapEntry> plainMap = {{1, 10, 100, "main.src", ""}};
  std::vector<LineMapEntry> scriptMap = {{11, 20, 5, "inc.src", "main.src"}};
  builder.LineMap(plainMap, false);
  builder.LineMap(scriptMap, true);
  std::vector<AppletLabel> labels = {{"start", 3}, {"loop", 17}};
  builder.Labels(labels);
  std::vector<UserConstant> constants = {{"#WIDTH", false, "", 640.5},
                                         {"#NAME", true, "demo", 0}};
  builder.UserConstants(constants);
  builder.LinkedFiles({{"data/inline.txt", {'a', 'b', 'c'}, false},
                       {"data/far.bin", {1, 2, 3, 4, 5}, true}});
  builder.Objects({{FullRecord(kObjectBrush, 2, "pics/b.png"), std::vector<uint8_t>(50, 9)}});
  builder.Script({1, 2, 3});
  builder.RawSection(99, {});  // after the script: never read

  std::vector<uint8_t> bytes = builder.Build();
  ReadResult read = ReadBack(bytes);
  ASSERT_EQ(read.status.code, ERR_NONE);
  const AppletRecords& r = read.records;

  ASSERT_EQ(r.objects.size(), 2u);
  AppletObject display = r.objects[0];
  EXPECT_EQ(display.type, kObjectDisplay);
  EXPECT_EQ(display.id, 1);
  EXPECT_EQ(display.title, "Demo");
  EXPECT_EQ(display.width, 800);
  EXPECT_EQ(display.height, 600);
  EXPECT_EQ(display.fillColor, 0x112233);
  EXPECT_EQ(display.x, 10);
  EXPECT_EQ(display.y, 20);
  EXPECT_EQ(display.flags, kDisplayActive | kDisplayBorderless | kDisplayNoMinimize |
                               kDisplayLayerScale | kDisplaySmoothScale);
  EXPECT_EQ(display.givenFlags, kDisplayBorderless | kDisplayNoMinimize | kDisplayFixed |
                                    kDisplayAutoScale | kDisplayLayerScale | kDisplaySmoothScale);
  EXPECT_EQ(display.scaleWidth, 1280);
  EXPECT_EQ(display.scaleHeight, -50);
  EXPECT_TRUE(r.hostSizedDisplay);

  AppletObject brush = FullRecord(kObjectBrush, 2, "pics/b.png");
  EXPECT_EQ(r.objects[1].dataSize, 50);
  std::vector<uint8_t> linked(50);
  ASSERT_TRUE(MemoryByteSource(bytes).Read(static_cast<uint64_t>(r.objects[1].dataOffset),
                                           linked.data(), linked.size()));
  EXPECT_EQ(linked, std::vector<uint8_t>(50, 9));
  brush.dataOffset = r.objects[1].dataOffset;
  brush.dataSize = 50;
  EXPECT_EQ(r.objects[1], AsReadIn(brush, {5, 2}));

  EXPECT_EQ(read.display.applicationTexts[0], "Title text");
  EXPECT_EQ(read.display.applicationTexts[4], std::string(255, 'v'));
  EXPECT_EQ(read.display.mode, kDisplayModeFakeFullScreen);
  EXPECT_EQ(read.display.backfill.mode, kBackfillPicture);
  EXPECT_EQ(read.display.backfill.brushId, 4);
  EXPECT_EQ(read.display.backfill.pictureY, 6);
  EXPECT_EQ(read.display.backfill.endColor, 8);
  EXPECT_TRUE(read.display.backfill.scalePicture);
  EXPECT_EQ(read.display.hideTitleBar, 1);
  EXPECT_EQ(read.display.screenWidth, 1024);
  EXPECT_EQ(read.display.screenHeight, 768);
  EXPECT_EQ(read.display.screenDepth, 32);
  EXPECT_FALSE(read.display.locked);

  std::vector<LineMapEntry> map = plainMap;
  map.insert(map.end(), scriptMap.begin(), scriptMap.end());
  EXPECT_EQ(r.lineMap, map);
  EXPECT_EQ(r.labels, labels);
  EXPECT_EQ(r.userConstants, constants);
  ASSERT_EQ(r.linkedFiles.size(), 2u);
  for (const auto& [file, content] :
       {std::pair{r.linkedFiles[0], std::vector<uint8_t>{'a', 'b', 'c'}},
        std::pair{r.linkedFiles[1], std::vector<uint8_t>{1, 2, 3, 4, 5}}}) {
    std::vector<uint8_t> data(static_cast<size_t>(file.size));
    ASSERT_TRUE(MemoryByteSource(bytes).Read(static_cast<uint64_t>(file.offset), data.data(),
                                             data.size()));
    EXPECT_EQ(data, content) << file.name;
  }
  EXPECT_EQ(r.chunk, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(ContainerRoundTrip, LockResetsTheDisplaySettingsBeforeIt) {
  ContainerBuilder builder;
  builder.Version({5, 2});
  builder.ApplicationText(1, "kept");
  builder.Mode(kDisplayModeFullScreen);
  builder.LockSettings();
  builder.ScreenDepth(16);
  builder.Script({});
  ReadResult read;
  read.display.styleFlags = read.display.givenStyleFlags = kDisplayBorderless;
  read.status = ReadContainerBytes(builder.Build(), "g", 1 << 20, read.records, read.display);
  ASSERT_EQ(read.status.code, ERR_NONE);
  EXPECT_TRUE(read.display.locked);
  EXPECT_EQ(read.display.mode, kDisplayModeNotSet);
  EXPECT_EQ(read.display.givenStyleFlags, 0);
  EXPECT_EQ(read.display.screenDepth, 16);
  EXPECT_EQ(read.display.applicationTexts[1], "kept");
}

TEST(ContainerRoundTrip, TitleAfterTheDisplaySectionsStillNamesTheDefaultDisplay) {
  ContainerBuilder builder;
  builder.DisplaySize(320, 200);
  builder.Title("Late");
  builder.Script({});
  ReadResult read = ReadBack(builder.Build());
  ASSERT_EQ(read.status.code, ERR_NONE);
  ASSERT_EQ(read.records.objects.size(), 1u);
  EXPECT_EQ(read.records.objects[0].title, "Late");
}

}  // namespace
}  // namespace tembrovia
