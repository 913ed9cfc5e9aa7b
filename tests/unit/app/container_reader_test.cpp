#include <gtest/gtest.h>

#include "app/container/applet_writer.h"
#include "container_test_util.h"

namespace tembrovia {
namespace {

// Hand-written bytes: "VXA\0" and then the sections given.
std::vector<uint8_t> Plain(std::initializer_list<uint8_t> sections) {
  std::vector<uint8_t> bytes = {'V', 'X', 'A', 0};
  // Byte by byte: GCC 12 misreads a range insert into a four-byte vector as an overflow.
  for (uint8_t byte : sections) bytes.push_back(byte);
  return bytes;
}

struct ErrorCase {
  const char* what;
  std::vector<uint8_t> bytes;
  ErrorCode error;
  const char* text;
};

class ContainerErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ContainerErrorTest, Code) {
  ReadResult read = ReadBack(GetParam().bytes);
  EXPECT_EQ(read.status.code, GetParam().error) << GetParam().what;
  EXPECT_EQ(read.status.text, GetParam().text) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ContainerErrorTest,
    ::testing::Values(
        ErrorCase{"empty", {}, ERR_NOAPPLET, "game.vxa"},
        ErrorCase{"magic alone", Plain({}), ERR_NOAPPLET, "game.vxa"},
        ErrorCase{"other magic", {'V', 'X', 'B', 0, 1, 0, 0, 0, 0}, ERR_NOAPPLET, "game.vxa"},
        ErrorCase{"script only", Plain({1, 0, 0, 0, 0}), ERR_NONE, ""},
        ErrorCase{"no script", Plain({7}), ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"type above 31", Plain({32}), ERR_UNKNOWNSEC, ""},
        ErrorCase{"version 5.3", Plain({10, 5, 3, 1, 0, 0, 0, 0}), ERR_APPLETVERSION, "5.3"},
        ErrorCase{"version 6.0", Plain({10, 6, 0, 1, 0, 0, 0, 0}), ERR_APPLETVERSION, "6.0"},
        ErrorCase{"version 5.2", Plain({10, 5, 2, 1, 0, 0, 0, 0}), ERR_NONE, ""},
        ErrorCase{"version 4.7", Plain({10, 4, 7, 1, 0, 0, 0, 0}), ERR_NONE, ""},
        ErrorCase{"script longer than the data", Plain({1, 0, 0, 0, 9, 1}), ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"negative script length", Plain({1, 0xFF, 0xFF, 0xFF, 0xFF}),
                  ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"data area past the end", Plain({0, 0x7F, 0xFF, 0xFF, 0xFF}),
                  ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"sections after the script are not read",
                  Plain({1, 0, 0, 0, 1, 0xAA, 99, 10, 9, 9}), ERR_NONE, ""},
        ErrorCase{"unknown object type",
                  Plain({2, 0, 0, 0, 1, 13, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}),
                  ERR_UNKNOWNSEC, ""},
        ErrorCase{"object name outside the container",
                  Plain({2, 0, 0, 0, 1, 3, 0, 0, 0, 1, 0, 0, 0x10, 0, 0, 0, 0, 4, 0, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}),
                  ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"object data outside the container",
                  Plain({2, 0, 0, 0, 1, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4,
                         0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}),
                  ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"negative object data size",
                  Plain({2, 0, 0, 0, 1, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4,
                         0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0,
                         0, 0}),
                  ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"linked file stored elsewhere, outside",
                  Plain({26, 0, 0, 0, 1, 0, 0, 0, 0, 'a', 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0,
                         8, 0, 0, 0, 30, 1, 0, 0, 0, 0}),
                  ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"linked file with a negative size",
                  Plain({26, 0, 0, 0, 1, 0, 0, 0, 0, 'a', 0, 0xFF, 0xFF, 0xFF, 0xFE, 1, 0, 0,
                         0, 0}),
                  ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"unterminated string", Plain({11, 'a', 'b'}), ERR_UNEXPECTEDEOF, ""},
        ErrorCase{"unknown backfill kind", Plain({17, 5, 1, 0, 0, 0, 0}), ERR_UNKNOWNSEC, ""},
        ErrorCase{"huge counts end at the data",
                  Plain({9, 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1, 'x', 0}), ERR_UNEXPECTEDEOF,
                  ""}));

// A version-4.6 container written out by hand: the BGPic record stops after its common
// fields; the anim record has its from-disk byte and its frame fields (4.1) but nothing more.
TEST(ContainerReader, Version46RecordsEndBeforeTheGatedFields) {
  std::vector<uint8_t> bytes = Plain({10, 4, 6, 2, 0, 0, 0, 2});  // version 4.6, two objects
  auto int32 = [&](uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(v >> shift));
  };
  auto common = [&](uint8_t type, uint32_t id, uint32_t line) {
    bytes.push_back(type);
    int32(id);
    for (int i = 0; i < 4; ++i) int32(0);  // no name, no linked data
    int32(0xFFFFFFFF);                     // no transparency
    int32(0);
    int32(line);
  };
  common(kObjectBGPic, 1, 7);
  common(kObjectAnim, 2, 8);
  bytes.push_back(1);  // from disk
  for (uint8_t b : {0, 16, 0, 12, 0, 4, 0, 2, 0, 0, 0, 0}) bytes.push_back(b);  // frames
  for (uint8_t b : {1, 0, 0, 0, 2, 0xCA, 0xFE}) bytes.push_back(b);  // the script
  ReadResult read = ReadBack(bytes);
  ASSERT_EQ(read.status.code, ERR_NONE);
  ASSERT_EQ(read.records.objects.size(), 2u);
  EXPECT_EQ(read.records.objects[0].type, kObjectBGPic);
  EXPECT_EQ(read.records.objects[0].fillStyle, 0);
  EXPECT_EQ(read.records.objects[0].sourceLine, 7);
  EXPECT_EQ(read.records.objects[1].fromDisk, 1);
  EXPECT_EQ(read.records.objects[1].width, 16);
  EXPECT_EQ(read.records.objects[1].height, 12);
  EXPECT_EQ(read.records.objects[1].frames, 4);
  EXPECT_EQ(read.records.objects[1].framesPerRow, 2);
  EXPECT_EQ(read.records.chunk, (std::vector<uint8_t>{0xCA, 0xFE}));
}

TEST(ContainerReader, TextFieldsAreCutTo255Characters) {
  ContainerBuilder builder;
  builder.Title(std::string(400, 't'));
  builder.ApplicationText(2, std::string(256, 'a'));
  AppletObject display;
  display.type = kObjectDisplay;
  display.id = 2;
  display.title = std::string(1000, 'd');
  builder.Version({5, 2});
  builder.Objects({{display, {}}});
  builder.Script({});
  ReadResult read = ReadBack(builder.Build());
  ASSERT_EQ(read.status.code, ERR_NONE);
  EXPECT_EQ(read.records.defaultTitle, std::string(255, 't'));
  EXPECT_EQ(read.display.applicationTexts[2], std::string(255, 'a'));
  EXPECT_EQ(read.records.objects[0].title, std::string(255, 'd'));
}

TEST(ContainerReader, LongNamesAreCutNotReadWhole) {
  AppletObject brush;
  brush.type = kObjectBrush;
  brush.name = std::string(5000, 'n');
  ContainerBuilder builder;
  builder.Objects({{brush, {}}});
  builder.Script({});
  ReadResult read = ReadBack(builder.Build());
  ASSERT_EQ(read.status.code, ERR_NONE);
  EXPECT_EQ(read.records.objects[0].name, std::string(kMaxStoredName, 'n'));
}

// Every prefix of a complete container is refused cleanly.
TEST(ContainerReader, EveryTruncationFails) {
  ContainerBuilder builder;
  builder.Version({5, 2});
  builder.Title("T");
  builder.LinkedFiles({{"f", {1, 2}, false}, {"g", {3}, true}});
  AppletObject display;
  display.type = kObjectDisplay;
  display.dragRegions = {{14, 0, 0, 5, 5}};
  display.gradient.stops = {{1, 2}};
  builder.Objects({{display, {}}});
  builder.UserConstants({{"#A", true, "b", 0}, {"#C", false, "", 1}});
  builder.Scaling(false, 1, 2, false);
  builder.Script({9, 9, 9});
  std::vector<uint8_t> bytes = builder.Build();
  ASSERT_EQ(ReadBack(bytes).status.code, ERR_NONE);
  for (size_t length = 0; length < bytes.size(); ++length) {
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
    ErrorCode error = ReadBack(prefix).status.code;
    EXPECT_EQ(error, length <= 4 ? ERR_NOAPPLET : ERR_UNEXPECTEDEOF) << length;
  }
}

}  // namespace
}  // namespace tembrovia
