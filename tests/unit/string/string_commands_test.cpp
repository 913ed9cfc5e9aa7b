// The string library's commands through the VM: argument reading and defaults, result
// shapes, and the errors the bindings return. The engines' own cases are in the other files.
#include <cstdio>
#include <string>
#include <vector>

#include "string/tool_output.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

using StringCommandsTest = CommandTest;

struct TextCase {
  const char* command;
  std::vector<Arg> args;
  std::string expected;
};

TEST_F(StringCommandsTest, TextResults) {
  const TextCase cases[] = {
      {"AddStr", {"ab", 12}, "ab12"},
      {"LeftStr", {"Hello", 2}, "He"},
      {"LeftStr", {"Hello", 99}, "Hello"},
      {"LeftStr", {"Hello", -1}, ""},
      {"RightStr", {"Hello", 3}, "llo"},
      {"MidStr", {"Hello", 1, 3}, "ell"},
      {"MidStr", {"Hello", 3, 10}, "lo"},
      {"MidStr", {"Hello", 5, 1}, ""},
      {"MidStr", {"Hello", "1", "2.9"}, "el"},  // numeric strings, truncated
      {"UnleftStr", {"Hello", 2}, "Hel"},
      {"UnrightStr", {"Hello", 2}, "llo"},
      {"UnmidStr", {"Hello", 1, 3}, "Ho"},
      {"UnmidStr", {"Hello", 3, 10}, "Hel"},
      {"InsertStr", {"Hello", "XY", 1}, "HXYello"},
      {"InsertStr", {"Hello", "XY", 1, 1}, "HXYlo"},
      {"InsertStr", {"Hello", "XY", 99}, "HelloXY"},
      {"TrimStr", {"xxabcxx", "x", 0}, "abcxx"},
      {"TrimStr", {"xxabcxx", "x", 1}, "xxabc"},
      {"TrimStr", {"xxx", "x", 1}, ""},
      {"RepeatStr", {"ab", 3}, "ababab"},
      {"LowerStr", {"\xC4Hi\xDF\xF7"}, "\xE4hi\xDF\xF7"},
      {"UpperStr", {"\xE4hi\xFF"}, "\xC4HI\xFF"},
      {"Chr", {65}, "A"},
      {"Chr", {0}, ""},
      {"ReplaceStr", {"aXbxc", "x", "-"}, "aXb-c"},
      {"ReplaceStr", {"aXbxc", "x", "-", 0}, "a-b-c"},
      {"ReplaceStr", {"xaxbx", "x", "", 1, 1}, "xab"},
      {"StrStr", {3.14159}, "3.14"},
      {"StrStr", {3.14159, 0}, "3"},
      {"StrStr", {2.5, 4}, "2.5"},
      {"StrStr", {1.5e-7, 0}, "1e-07"},
      {"HexStr", {255}, "$FF"},
      {"HexStr", {-1}, "$FFFFFFFF"},
      {"HexStr", {0}, "$0"},
      {"BinStr", {5}, "00000000000000000000000000000101"},
      {"BinStr", {5, 7}, "00000101"},
      {"BinStr", {-1, 6}, "1111111111111111"},
      {"BinStr", {5, 3}, ""},
      {"PadNum", {7, 3}, "007"},
      {"PadNum", {1234, 2}, "1234"},
      {"MD5Str", {"abc"}, "900150983cd24fb0d6963f7d28e17f72"},
      {"FormatStr", {"%5.2f|%-3d|%x", 3.14159, 7, 255}, " 3.14|7  |ff"},
      {"FormatStr", {"%q", "a\"b"}, "\"a\\\"b\""},
      {"FormatStr", {"100%% %s", 5}, "100% 5"},
      {"FormatStr", {"%d|%u|%c", "3.9", -1, 65}, "3|4294967295|A"},
      {"FormatStr", {"no conversions"}, "no conversions"},
  };
  for (const TextCase& c : cases) {
    const CallResult r = fx.Call(c.command, c.args);
    ASSERT_TRUE(r.ok()) << c.command << ": " << r.message;
    EXPECT_EQ(r.string(0), c.expected) << c.command;
    EXPECT_EQ(r.count(), 1u) << c.command;
  }
}

struct NumberCase {
  const char* command;
  std::vector<Arg> args;
  double expected;
};

TEST_F(StringCommandsTest, NumberResults) {
  const NumberCase cases[] = {
      {"StrLen", {"Hello"}, 5},
      {"StrLen", {std::string("a\0b", 3)}, 3},
      {"StrLen", {12.5}, 4},
      {"Asc", {"A"}, 65},
      {"Asc", {"\xFF"}, 255},
      {"Asc", {""}, 0},
      {"FindStr", {"Hello", "l"}, 2},
      {"FindStr", {"Hello", "L", 0}, 2},
      {"FindStr", {"Hello", "L"}, -1},
      {"FindStr", {"Hello", "l", 1, 3}, 3},
      {"FindStr", {"Hello", "x"}, -1},
      {"FindStr", {"", ""}, -1},
      {"FindStr", {"Hello", "l", 1, 99}, -1},
      {"CountStr", {"aaaa", "aa"}, 2},
      {"CountStr", {"aAaA", "a", 0}, 4},
      {"CountStr", {"aaaa", "a", 1, 3}, 1},
      {"CRC32Str", {"123456789"}, 0xCBF43926u},
      {"ToNumber", {"42"}, 42},
      {"ToNumber", {"abc"}, 0},
      {"ToNumber", {"ff", 16}, 255},
      {"ToNumber", {"  -1", 16}, 4294967295.0},
      {"ToNumber", {"z", 36}, 35},
      {"ToNumber", {"12x", 16}, 0},
      {"ToNumber", {"101 ", 2}, 5},
  };
  for (const NumberCase& c : cases) {
    const CallResult r = fx.Call(c.command, c.args);
    ASSERT_TRUE(r.ok()) << c.command << ": " << r.message;
    EXPECT_EQ(r.number(0), c.expected) << c.command;
  }
}

struct ErrorCase {
  const char* command;
  std::vector<Arg> args;
  ErrorCode error;
};

TEST_F(StringCommandsTest, Errors) {
  const ErrorCase cases[] = {
      {"Chr", {256}, ERR_WRONGUSAGE},
      {"Chr", {-1}, ERR_WRONGUSAGE},
      {"FindStr", {"Hello", "l", 1, -1}, ERR_WRONGUSAGE},
      {"CountStr", {"Hello", "l", 1, -1}, ERR_WRONGUSAGE},
      {"ReplaceStr", {"Hello", "l", "L", 1, -1}, ERR_WRONGUSAGE},
      {"InsertStr", {"Hello", "X", -1}, ERR_WRONGUSAGE},
      {"MidStr", {"Hello", -1, 2}, ERR_WRONGUSAGE},
      {"UnleftStr", {"Hello", -1}, ERR_WRONGUSAGE},
      {"UnrightStr", {"Hello", -1}, ERR_WRONGUSAGE},
      {"UnmidStr", {"Hello", 1, -1}, ERR_WRONGUSAGE},
      {"TrimStr", {"Hello", "ll", 0}, ERR_WRONGUSAGE},
      {"SplitStr", {"a,b", ""}, ERR_WRONGUSAGE},
      {"RepeatStr", {"ab", 0}, ERR_WRONGUSAGE},
      {"RepeatStr", {"ab", 2e9}, ERR_MEM},
      {"PadNum", {-1, 3}, ERR_WRONGUSAGE},
      {"PadNum", {1, 0}, ERR_WRONGUSAGE},
      {"PadNum", {1, 1e10}, ERR_MEM},
      {"MD5Str", {""}, ERR_WRONGUSAGE},
      {"CRC32Str", {""}, ERR_WRONGUSAGE},
      {"ToNumber", {"10", 1}, ERR_WRONGUSAGE},
      {"ToNumber", {"10", 37}, ERR_WRONGUSAGE},
      {"FormatStr", {"%123d", 1}, ERR_WRONGUSAGE},
      {"FormatStr", {"%y", 1}, ERR_WRONGUSAGE},
      {"StrLen", {}, ERR_MISSINGPARAMTR},
      {"StrLen", {"a", "b"}, ERR_TOOMANYARGS},
      {"AddStr", {"a"}, ERR_MISSINGPARAMTR},
      {"LeftStr", {Arg::List({}), 1}, ERR_STREXPECTED},
      {"LeftStr", {"abc", "x"}, ERR_NUMEXPECTED},
  };
  for (const ErrorCase& c : cases) {
    EXPECT_EQ(fx.Call(c.command, c.args).error, c.error) << c.command;
  }
}

TEST_F(StringCommandsTest, FormatStrNamesTheMissingArgument) {
  const CallResult missing = fx.Call("FormatStr", {"%d and %d", 1});
  EXPECT_EQ(missing.error, ERR_NUMEXPECTED);
  EXPECT_EQ(missing.message, "Number expected in argument 3!");
  const CallResult text = fx.Call("FormatStr", {"%f", "abc"});
  EXPECT_EQ(text.error, ERR_NUMEXPECTED);
  EXPECT_EQ(fx.Call("FormatStr", {"%s", Arg::List({})}).error, ERR_STREXPECTED);
  // A huge width and precision never overrun anything.
  const std::string big = fx.Call("FormatStr", {"%99.99f", 1e308}).string(0);
  EXPECT_EQ(big.size(), 409u);
}

// The conversions the binding hands over, against the C library's own output.
TEST_F(StringCommandsTest, FormatStrAgreesWithSnprintf) {
  struct Case {
    const char* format;
    double value;
  };
  const Case cases[] = {
      {"%+08.3f", -3.14159}, {"%e", 12345.678},  {"%G", 1e-10},  {"% d", 42},   {"%-6i|", -7},
      {"%#o", 8},            {"%#x", 3735928559.0}, {"%X", -2},  {"%05u", 77},  {"%.0f", 2.5},
      {"%g", 100000},        {"%10.4e", -0.000123}, {"%c", 97},  {"%+.2e", 0},  {"%#.3g", 1},
  };
  for (const Case& c : cases) {
    char expected[256];
    const char letter = c.format[std::string(c.format).find_first_of("eEfgGdicouxX")];
    if (std::string("eEfgG").find(letter) != std::string::npos) {
      std::snprintf(expected, sizeof expected, c.format, c.value);
    } else if (std::string("dic").find(letter) != std::string::npos) {
      std::snprintf(expected, sizeof expected, c.format, static_cast<int>(c.value));
    } else {
      std::snprintf(expected, sizeof expected, c.format,
                    static_cast<unsigned>(static_cast<uint32_t>(static_cast<int64_t>(c.value))));
    }
    EXPECT_EQ(fx.Call("FormatStr", {c.format, c.value}).string(0), expected) << c.format;
  }
}

TEST_F(StringCommandsTest, SplitStrGivesTheTableAndTheCount) {
  struct Case {
    const char* text;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"a,b", {"a", "b"}}, {"a,,b", {"a", "", "b"}}, {"a,", {"a", ""}}, {"", {""}},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call("SplitStr", {c.text, ","});
    ASSERT_EQ(r.count(), 2u);
    EXPECT_EQ(r.number(1), static_cast<double>(c.pieces.size())) << c.text;
    ASSERT_EQ(r.value(0).ItemCount(), c.pieces.size()) << c.text;
    for (size_t i = 0; i < c.pieces.size(); ++i) EXPECT_EQ(r.value(0).Item(i)->text, c.pieces[i]);
  }
}

TEST_F(StringCommandsTest, StrToArrayEndsWithAZero) {
  const ScriptValue codes = fx.Call("StrToArray", {"A\xFF"}).value(0);
  ASSERT_EQ(codes.keys.size(), 3u);
  EXPECT_EQ(codes.Item(0)->number, 65);
  EXPECT_EQ(codes.Item(1)->number, 255);
  EXPECT_EQ(codes.Item(2)->number, 0);
  EXPECT_EQ(fx.Call("StrToArray", {""}).value(0).Item(0)->number, 0);
}

TEST_F(StringCommandsTest, ValGivesTheNumberAndTheCharactersRead) {
  struct Case {
    const char* text;
    double value;
    double count;
  };
  const Case cases[] = {
      {"$ff", 255, 3}, {"-$10", -16, 4}, {"%101", 5, 4},  {"0x1A", 26, 4},
      {"12abc", 12, 2}, {"abc", 0, 0},   {"$", 0, 0},     {"1.5e3x", 1500, 5},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call("Val", {c.text});
    ASSERT_EQ(r.count(), 2u);
    EXPECT_EQ(r.number(0), c.value) << c.text;
    EXPECT_EQ(r.number(1), c.count) << c.text;
  }
}

TEST_F(StringCommandsTest, DigestsOfNumbersAreThoseOfTheirText) {
  std::string md5sum;
  ASSERT_TRUE(testing::RunTool("printf 2.5 | md5sum", md5sum));
  EXPECT_EQ(fx.Call("MD5Str", {2.5}).string(0), md5sum.substr(0, 32));
  std::string crc;
  ASSERT_TRUE(testing::RunTool("python3 -c 'import zlib; print(zlib.crc32(b\"\\xff\\x00x\"))'", crc));
  EXPECT_EQ(fx.Call("CRC32Str", {std::string("\xFF\0x", 3)}).number(0), std::stod(crc));
}

TEST_F(StringCommandsTest, EvalReadsItsVariables) {
  auto variable = [](Arg name, Arg value) { return Arg::Table({{"name", name}, {"value", value}}); };
  const Arg options = Arg::Table({{"variables", Arg::List({variable("X", 4), variable("not_x", 1)})}});
  EXPECT_EQ(fx.Call("Eval", {"x*2", options}).number(0), 8);
  EXPECT_EQ(fx.Call("Eval", {"not_x + X", options}).number(0), 5);
  EXPECT_EQ(fx.Call("Eval", {"2+3*4"}).number(0), 14);
  EXPECT_EQ(fx.Call("Eval", {"-2147483648 \\ -1"}).number(0), 2147483648.0);
  // A missing value counts as 0, the list ends at its first nil.
  const Arg sparse = Arg::Table({{"variables", Arg::Table({{0, Arg::Table({{"name", "a"}})},
                                                            {2, variable("b", 1)}})}});
  EXPECT_EQ(fx.Call("Eval", {"a", sparse}).number(0), 0);
  EXPECT_EQ(fx.Call("Eval", {"b", sparse}).error, ERR_VALUEEXPECTED);
  EXPECT_EQ(fx.Call("Eval", {"1", Arg::Table({})}).number(0), 1);

  const ErrorCase errors[] = {
      {"Eval", {"1", kNil}, ERR_TABEXPECTED},
      {"Eval", {"1", Arg::Table({{"variables", Arg::List({Arg::Table({{"value", 1}})})}})}, ERR_WRONGUSAGE},
      {"Eval", {"1", Arg::Table({{"variables", Arg::List({variable(Arg::List({}), 1)})}})}, ERR_STRTABLEARG},
      {"Eval", {"1", Arg::Table({{"variables", Arg::List({variable("a", "x")})}})}, ERR_NUMTABLEARG},
      {"Eval", {"1", Arg::Table({{"variables", Arg::List({variable("9a", 1)})}})}, ERR_WRONGUSAGE},
      {"Eval", {"1", Arg::Table({{"variables", Arg::List({5})}})}, ERR_WRONGUSAGE},
      {"Eval", {"(1+2"}, ERR_UNMPARENTHESES},
      {"Eval", {"1/0"}, ERR_ZERODIVISION},
      {"Eval", {"1<<2"}, ERR_VALUEEXPECTED},
      {"Eval", {"1 2"}, ERR_SYNTAXERROR},
  };
  for (size_t i = 0; i < std::size(errors); ++i) {
    EXPECT_EQ(fx.Call(errors[i].command, errors[i].args).error, errors[i].error) << "case " << i;
  }
}

}  // namespace
}  // namespace tembrovia
