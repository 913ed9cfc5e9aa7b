#include "app/preload/preload_plan.h"

#include <gtest/gtest.h>

#include "app/container/applet_writer.h"
#include "app/container/line_map.h"
#include "container_test_util.h"

namespace tembrovia {
namespace {

AppletObject Object(uint8_t type, int32_t id, std::string name, int32_t loadAlpha = 0) {
  AppletObject record;
  record.type = type;
  record.id = id;
  record.name = std::move(name);
  record.extra = -1;
  record.flag = loadAlpha;
  record.sourceLine = 10 + id;
  return record;
}

PlainValue Options(std::initializer_list<std::pair<const char*, PlainValue>> fields) {
  PlainValue table = PlainValue::Table();
  for (const auto& [key, value] : fields) table.Set(key, value);
  return table;
}

PlainValue N(double value) { return PlainValue::Number(value); }
PlainValue S(std::string text) { return PlainValue::String(std::move(text)); }

TEST(PreloadPlan, WithoutDisplaysDisplayOneIsTheDefault) {
  AppletRecords records;
  PreloadPlan plan = PlanPreload(records, DisplayConfig{});
  ASSERT_EQ(plan.displays.size(), 1u);
  const PreloadCall& call = plan.displays[0];
  EXPECT_EQ(call.command, "CreateDisplay");
  EXPECT_EQ(call.arguments[0], N(1));
  EXPECT_EQ(call.arguments[1],
            Options({{"title", S("Tembrovia")}, {"x", N(-100000)}, {"y", N(-100000)},
                     {"active", N(1)}, {"width", N(640)}, {"height", N(480)},
                     {"fillstyle", N(1)}, {"color", N(0)}}));

  records.hasDefaultTitle = true;
  records.defaultTitle = "Named";
  EXPECT_EQ(*PlanPreload(records, DisplayConfig{}).displays[0].arguments[1].Field("title"),
            S("Named"));
}

TEST(PreloadPlan, BrushesLoadingOneFileShareItThroughTheCache) {
  AppletRecords records;
  records.objects = {Object(kObjectBrush, 1, "gfx/Ball.png"),
                     Object(kObjectSprite, 2, "GFX/ball.PNG", 1),
                     Object(kObjectBrush, 3, "other.png"),
                     Object(kObjectAnim, 4, "gfx/ball.png"),
                     Object(kObjectSample, 5, "gfx/ball.png")};
  PreloadPlan plan = PlanPreload(records, DisplayConfig{});
  ASSERT_EQ(plan.objects.size(), 5u);
  EXPECT_EQ(plan.objects[0].arguments[2],
            Options({{"cache", S("gfx/Ball.png")}, {"cachealpha", N(1)}}));
  EXPECT_EQ(plan.objects[1].arguments[2],
            Options({{"loadalpha", N(1)}, {"cachedload", S("GFX/ball.PNG")}}));
  EXPECT_EQ(plan.objects[2].arguments.size(), 2u);  // nothing shared, no options
  EXPECT_EQ(plan.objects[3].arguments[2], Options({{"cachedload", S("gfx/ball.png")}}));
  EXPECT_EQ(plan.objects[4].arguments.size(), 2u);  // samples do not share images
}

TEST(PreloadPlan, LinkedDataIsOpenedThroughItsStoredFileName) {
  AppletRecords records;
  records.containerPath = "/apps/player";
  records.appletOffset = 2000000;
  AppletObject picture = Object(kObjectBrush, 1, "data/pics/pic.png");
  picture.dataOffset = 1000;
  picture.dataSize = 500;
  records.objects = {picture, Object(kObjectMusic, 2, "music/song.mod")};
  PreloadPlan plan = PlanPreload(records, DisplayConfig{});
  EXPECT_EQ(plan.objects[0].arguments[1], S(":::chunk2001000:500*pic.png//apps/player"));
  EXPECT_EQ(plan.objects[1].command, "OpenMusic");
  EXPECT_EQ(plan.objects[1].arguments[1], S("music/song.mod"));
}

TEST(PreloadPlan, CommandsAndArgumentsOfEachType) {
  AppletRecords records;
  AppletObject bgpic = Object(kObjectBGPic, 1, "bg.png");
  bgpic.extra = 0xFF00FF;
  bgpic.fillStyle = 2;
  bgpic.fillColor = 0x111111;
  bgpic.gradientEndColor = 0x222222;
  bgpic.gradientAngle = 45;
  bgpic.gradient.stops = {{0xABCDEF, 250000}};
  AppletObject brush = Object(kObjectBrush, 2, "b.png");
  brush.width = 10;
  brush.globalAlpha = 128;
  brush.hardware = 1;
  AppletObject anim = Object(kObjectAnim, 3, "a.gif");
  anim.fromDisk = 1;
  AppletObject button = Object(kObjectButton, 4, "");
  button.x1 = 1, button.y1 = 2, button.x2 = 3, button.y2 = 4;
  AppletObject font = Object(kObjectFont, 6, "f.font");
  font.extra = 24;
  font.flag = 0x10000 | 2;
  AppletObject plugin = Object(kObjectPluginRequirement, 0, "fancy.vxp");
  plugin.extra = 2;
  plugin.flag = 1;
  records.objects = {bgpic, brush, anim, button, Object(kObjectKeyHandler, 5, "ESC"), font,
                     Object(kObjectFile, 7, "data.txt"), Object(kObjectVideo, 8, "v.avi"),
                     plugin};
  PreloadPlan plan = PlanPreload(records, DisplayConfig{});
  ASSERT_EQ(plan.objects.size(), 8u);
  ASSERT_EQ(plan.plugins.size(), 1u);
  EXPECT_EQ(plan.plugins[0].name, "fancy.vxp");

  PlainValue colors = PlainValue::Table();
  colors.Append(N(0xABCDEF));
  colors.Append(N(0.25));
  std::vector<PreloadCall> expected = {
      {"LoadBGPic", 11, {N(1), S("bg.png"),
                         Options({{"transparency", N(0xFF00FF)}, {"fillstyle", N(2)},
                                  {"gradientstyle", N(2)}, {"gradientstartcolor", N(0x111111)},
                                  {"gradientendcolor", N(0x222222)}, {"gradientangle", N(45)},
                                  {"gradientcenterx", N(0.5)}, {"gradientcentery", N(0.5)},
                                  {"gradientbalance", N(0.5)}, {"gradientborder", N(0)},
                                  {"gradientcolors", colors}})}},
      {"LoadBrush", 12, {N(2), S("b.png"),
                         Options({{"width", N(10)}, {"globalalpha", N(128)}, {"hardware", N(1)}})}},
      {"LoadAnim", 13, {N(3), S("a.gif"), Options({{"fromdisk", N(1)}})}},
      {"CreateButton", 14, {N(4), N(1), N(2), N(3), N(4)}},
      {"CreateKeyDown", 15, {N(5), S("ESC")}},
      {"OpenFont", 16, {N(6), S("f.font"), N(24), Options({{"engine", N(2)}, {"cache", N(0)}})}},
      {"OpenFile", 17, {N(7), S("data.txt"), N(1005)}},
      {"OpenVideo", 18, {N(8), S("v.avi")}},
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(plan.objects[i].command, expected[i].command);
    EXPECT_EQ(plan.objects[i].sourceLine, expected[i].sourceLine) << expected[i].command;
    EXPECT_EQ(plan.objects[i].arguments, expected[i].arguments) << expected[i].command;
  }
}

TEST(PreloadPlan, CommandLineDisplayOptionsMergeUnlessLocked) {
  AppletRecords records;
  AppletObject own = Object(kObjectDisplay, 2, "");
  own.flags = kDisplaySizeable;
  own.givenFlags = kDisplayBorderless | kDisplaySizeable;
  own.scaleWidth = 320;
  records.objects = {own};

  DisplayConfig display;
  display.styleFlags = display.givenStyleFlags = kDisplayBorderless | kDisplayFixed;
  display.scaleWidth = 640;
  display.scaleHeight = -50;

  std::vector<AppletObject> merged = PreloadDisplays(records, display);
  ASSERT_EQ(merged.size(), 2u);  // the applet's display 2 and the default display 1
  EXPECT_EQ(merged[0].flags, kDisplaySizeable | kDisplayFixed);  // borderless was the applet's
  EXPECT_EQ(merged[0].scaleWidth, 320);
  EXPECT_EQ(merged[0].scaleHeight, -50);
  EXPECT_EQ(merged[1].flags, kDisplayActive | kDisplayBorderless | kDisplayFixed);

  PreloadPlan plan = PlanPreload(records, display);
  EXPECT_EQ(*plan.displays[0].arguments[1].Field("scaleheight"), S("50%"));
  EXPECT_EQ(*plan.displays[1].arguments[1].Field("borderless"), N(1));

  display.locked = true;
  merged = PreloadDisplays(records, display);
  EXPECT_EQ(merged[0].flags, kDisplaySizeable);
  EXPECT_EQ(merged[1].flags, kDisplayActive);
}

TEST(PreloadPlan, DisplayOneShowsBGPicOneOrTakesTheHostSize) {
  AppletRecords records;
  AppletObject display = Object(kObjectDisplay, 1, "");
  display.width = 100;
  display.height = 50;
  display.flags = kDisplayLayerScale | kDisplayNoClose;
  display.dragRegions = {{14, 1, 2, 3, 4}};
  display.pubScreen = "Screen";
  records.objects = {display};
  records.hostSizedDisplay = true;
  PlainValue options = PlanPreload(records, DisplayConfig{}, 1920, 1080).displays[0].arguments[1];
  EXPECT_EQ(*options.Field("width"), N(1920));
  EXPECT_EQ(*options.Field("height"), N(1080));
  EXPECT_EQ(*options.Field("scalemode"), N(2));
  EXPECT_EQ(*options.Field("noclose"), N(1));
  EXPECT_EQ(*options.Field("private2"), N(1));
  EXPECT_EQ(*options.Field("pubscreen"), S("Screen"));
  PlainValue region = PlainValue::Table();
  region.Set("type", 14);
  region.Set("x", 1);
  region.Set("y", 2);
  region.Set("width", 3);
  region.Set("height", 4);
  PlainValue regions = PlainValue::Table();
  regions.Append(region);
  EXPECT_EQ(*options.Field("dragregion"), regions);
  EXPECT_EQ(options.Field("bgpic"), nullptr);

  records.objects.push_back(Object(kObjectBGPic, 1, "bg.png"));
  options = PlanPreload(records, DisplayConfig{}).displays[0].arguments[1];
  EXPECT_EQ(*options.Field("bgpic"), N(1));
  EXPECT_EQ(options.Field("width"), nullptr);
}

TEST(PluginRequirements, NeedTheVersionAndRevision) {
  std::vector<PluginRequirement> needs = {{"a.vxp", 1, 5}, {"b.vxp", 2, 0}};
  auto lookup = [](std::string_view name) -> std::optional<std::pair<int32_t, int32_t>> {
    if (name == "a.vxp") return std::pair{1, 7};
    if (name == "b.vxp") return std::pair{1, 9};
    return std::nullopt;
  };
  AppletStatus status = CheckPluginRequirements(needs, lookup);
  EXPECT_EQ(status.code, ERR_REQUIREPLUGIN);
  EXPECT_EQ(status.text, "b.vxp 2.0");
  EXPECT_EQ(CheckPluginRequirements({{"a.vxp", 1, 7}}, lookup).code, ERR_NONE);
  EXPECT_EQ(CheckPluginRequirements({{"c.vxp", 0, 0}}, lookup).text, "c.vxp 0.0");
}

TEST(LineMap, MapsCompiledLinesToTheirSource) {
  std::vector<LineMapEntry> map = {{1, 10, 100, "main.src", ""},
                                   {11, 20, 1, "inc.src", "lib.src"},
                                   {11, 20, 50, "other.src", "main.src"}};
  EXPECT_EQ(MapScriptLine(map, 1), (SourcePosition{"main.src", 100}));
  EXPECT_EQ(MapScriptLine(map, 10), (SourcePosition{"main.src", 109}));
  EXPECT_EQ(MapScriptLine(map, 12), (SourcePosition{"inc.src", 2}));
  EXPECT_EQ(MapScriptLine(map, 12, "main.src"), (SourcePosition{"other.src", 51}));
  EXPECT_EQ(MapScriptLine(map, 21), std::nullopt);
  EXPECT_EQ(MapScriptLine({{0, 0x7FFFFFFF, 0x7FFFFFF0, "x", ""}}, 0x7FFFFFFF)->line, 0x7FFFFFFF);
}

}  // namespace
}  // namespace tembrovia
