// Stored functions and tables, compressed files and patches through the VM: script values
// in and out of the records, what WriteTable refuses, and outside checks with Python.
#include <filesystem>
#include <string>

#include "dos_test.h"
#include "files/outside_tool.h"
#include "files/serial_value.h"

namespace tembrovia {
namespace fs = std::filesystem;
namespace {

int Native(VMState*) { return 0; }

class RecordCommandsTest : public DosTest {
 protected:
  void SetUp() override {
    // square(x) = x * x, and nest(levels): a chain of levels + 1 tables linked by "n".
    const CallResult r = fx.Run(R"(
        makeclosure r0, square
        writeglobal r0, "square"
        maketable r0, 0, 0
        writefield r0, "self", r0
        writeglobal r0, "loop"
        return r0, 1
    .function square
        .params 1
        mul r1, r0, r0
        return r1, 2
    .end
    )");
    ASSERT_TRUE(r.ok()) << r.message;
  }

  // The global "deep": `tables` tables, each the field "n" of the one before.
  void MakeChain(int tables) {
    fx.SetGlobal("levels", tables - 1);
    const CallResult r = fx.Run(R"(
          maketable r0, 0, 0
          move r4, r0
          loadconst r1, 0
          readglobal r2, "levels"
          loadconst r3, 1
          jump test
    body: maketable r5, 0, 0
          writefield r4, "n", r5
          move r4, r5
    test: numloop r1, body
          writeglobal r0, "deep"
          return r0, 1
    )");
    ASSERT_TRUE(r.ok()) << r.message;
  }

  // Calls the global function `name` with x and returns its result.
  double CallGlobal(const std::string& name, double x) { return Ok(name, {x}).number(0); }
};

TEST_F(RecordCommandsTest, FunctionsRoundTripInBothForms) {
  Open(1, "f.bin", kModeWriteConstant);
  Ok("WriteFunction", {1, Arg::Global("square")});
  const double binaryEnd = Ok("FilePos", {1}).number(0);
  Ok("WriteFunction", {1, Arg::Global("square"), true});
  EXPECT_EQ(fx.Call("WriteFunction", {1, Arg::Function(Native)}).error, ERR_NOVXFUNC);
  EXPECT_EQ(fx.Call("WriteFunction", {1, 5}).error, ERR_FUNCEXPECTED);
  Ok("CloseFile", {1});

  // The text form's payload is the binary form's chunk in Base64, per Python.
  const std::string check = RunPython(R"(
import base64, struct, sys
data = open(sys.argv[1], "rb").read()
end = int(sys.argv[2])
assert data[0:4] == b"VXF0" and data[end:end + 4] == b"VXF1"
size = struct.unpack(">I", data[4:8])[0]
text_size = int(data[end + 4:end + 12], 16)
text = data[end + 12:end + 12 + text_size]
assert all(len(line) <= 72 for line in text.split(b"\r\n"))
print(base64.b64decode(b"".join(text.split())) == data[8:8 + size], end + 12 + text_size == len(data))
)", "'" + (dir / "f.bin") + "' " + std::to_string(static_cast<long>(binaryEnd)));
  EXPECT_EQ(check, "True True");

  Open(1, "f.bin", kModeReadConstant);
  for (int i = 0; i < 2; ++i) {
    const CallResult loaded = Ok("ReadFunction", {1});
    ASSERT_EQ(loaded.count(), 1u);
    fx.SetGlobal("loaded", loaded.value(0));
    EXPECT_EQ(CallGlobal("loaded", 7), 49);
  }
  EXPECT_EQ(fx.Call("ReadFunction", {1}).error, ERR_READRANGE);
  Open(2, "f.bin", kModeWriteConstant);
  EXPECT_EQ(fx.Call("ReadFunction", {2}).error, ERR_WRITEONLY);
  Open(3, "t.bin", kModeWriteConstant);
  Ok("WriteTable", {3, Arg::List({1})});
  Ok("CloseFile", {3});
  Open(3, "t.bin", kModeReadConstant);
  const CallResult notAFunction = fx.Call("ReadFunction", {3});
  EXPECT_EQ(notAFunction.error, ERR_READFUNC);
  EXPECT_EQ(notAFunction.message, "Cannot find Tembrovia function at this offset!");
  Open(4, "t.bin", kModeReadConstant);
  EXPECT_EQ(fx.Call("WriteFunction", {4, Arg::Global("square")}).error, ERR_READONLY);
}

TEST_F(RecordCommandsTest, TablesRoundTripWithNestedTablesFunctionsAndLongKeys) {
  int anything = 0;
  const std::string longKey(300, 'k');
  fx.SetGlobal("t", Arg::Table({{0, 1.5},
                                {"x", "y"},
                                {longKey, "long"},
                                {"nested", Arg::List({"a", Arg::Table({{"deeper", -2}})})},
                                {"f", Arg::Global("square")},
                                {"u", Arg::Handle(&anything)}}));
  for (bool text : {false, true}) {
    Open(1, "t.bin", kModeWriteConstant);
    Ok("WriteTable", {1, Arg::Global("t"), text});
    Ok("CloseFile", {1});
    Open(1, "t.bin", kModeReadConstant);
    const ScriptValue back = Ok("ReadTable", {1}).value(0);
    EXPECT_EQ(Ok("Eof", {1}).number(0), 1);
    EXPECT_EQ(back.Item(0)->number, 1.5);
    EXPECT_EQ(back.Field("x")->text, "y");
    EXPECT_EQ(back.Field(longKey)->text, "long");
    EXPECT_EQ(back.Field("nested")->Item(0)->text, "a");
    EXPECT_EQ(back.Field("nested")->Item(1)->Field("deeper")->number, -2);
    EXPECT_EQ(back.Field("u")->number, 0) << "userdata is stored as 0";
    EXPECT_EQ(back.Field("f")->type, TagFunction);
    EXPECT_EQ(back.keys.size(), 6u);

    fx.SetGlobal("back", back);
    const CallResult r = fx.Run(R"(
        readglobal r0, "back"
        readfield r1, r0, "f"
        loadconst r2, 6
        call r1, 2, 2
        call DebugPrint, r1
        return r0, 1
    )");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(fx.TakeDebugOutput(), "36\n") << (text ? "text form" : "binary form");
  }
}

TEST_F(RecordCommandsTest, WriteTableRefusesWhatReadTableCouldNotGiveBack) {
  Open(1, "t.bin", kModeWriteConstant);
  Ok("WriteString", {1, "keep"});
  struct Case {
    Arg table;
    ErrorCode error;
  };
  const Case cases[] = {
      {Arg::Table({{"flag", true}}), ERR_WRONGUSAGE},
      {Arg::Table({{"ok", 1}, {"nested", Arg::Table({{"flag", false}})}}), ERR_WRONGUSAGE},
      {Arg::Global("loop"), ERR_WRONGUSAGE},  // contains itself
      {Arg::Table({{Arg::List({}), 1}}), ERR_WRONGUSAGE},
      {Arg::Table({{"f", Arg::Function(Native)}}), ERR_NOVXFUNC},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(fx.Call("WriteTable", {1, cases[i].table}).error, cases[i].error) << "case " << i;
  }
  MakeChain(kMaxSerialDepth + 1);
  EXPECT_EQ(fx.Call("WriteTable", {1, Arg::Global("deep")}).error, ERR_STACK);
  EXPECT_EQ(Ok("FileLength", {1}).number(0), 4) << "nothing was written";

  MakeChain(kMaxSerialDepth);  // the deepest table that is written, and read back
  Ok("WriteTable", {1, Arg::Global("deep")});
  Ok("CloseFile", {1});
  Open(1, "t.bin", kModeReadConstant);
  Ok("Seek", {1, 4});
  const CallResult back = Ok("ReadTable", {1});
  ASSERT_EQ(back.count(), 1u);
  VMState* state = fx.state();
  const int top = GetTop(state);
  PushRegistryRef(state, back.value(0).ref);
  int depth = 1;
  for (GetField(state, -1, "n"); IsTable(state, -1); GetField(state, -1, "n")) {
    Remove(state, -2);
    ++depth;
  }
  SetTop(state, top);
  EXPECT_EQ(depth, kMaxSerialDepth);

  Ok("Seek", {1, 0});
  const CallResult notATable = fx.Call("ReadTable", {1});
  EXPECT_EQ(notATable.error, ERR_READTABLE);
  EXPECT_EQ(notATable.message, "Cannot find Tembrovia table at this offset!");
  EXPECT_EQ(fx.Call("WriteTable", {1, Arg::List({})}).error, ERR_READONLY);
  EXPECT_EQ(fx.Call("WriteTable", {1, 5}).error, ERR_TABEXPECTED);
}

TEST_F(RecordCommandsTest, ReadTableOfABrokenRecord) {
  const std::string header("VXT0\x02\0\0\0\0\0\0\0\0", 13);
  struct Case {
    std::string bytes;
    ErrorCode error;
  };
  const Case cases[] = {
      {"VXT0", ERR_READRANGE},
      {header + "\x05" + std::string("\0\0\0\x04", 4) + "junk" + std::string(1, '\0'), ERR_BADSIGNATURE},
      {std::string("VXT0\x02\xff\xf8\0\0\0\0\0\0\x02\0\0\0\0\0\0\0\0\0", 23), ERR_READTABLE},  // NaN key
      {header + "\x03\xff\xff\xff\xff", ERR_READRANGE},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    WriteBytes(dir / "broken.bin", cases[i].bytes);
    Open(1, "broken.bin", kModeReadConstant);
    EXPECT_EQ(fx.Call("ReadTable", {1}).error, cases[i].error) << "case " << i;
  }
}

TEST_F(RecordCommandsTest, CompressedFilesAgreeWithZlib) {
  std::string original;
  for (int i = 0; i < 50000; ++i) original += static_cast<char>("tembrovia"[i % 9] + (i / 1000) % 3);
  WriteBytes(dir / "plain", original);
  const double packedSize = Ok("CompressFile", {dir / "plain", dir / "packed"}).number(0);
  EXPECT_EQ(packedSize, static_cast<double>(fs::file_size(dir / "packed")));
  EXPECT_EQ(RunPython("import sys, zlib; d = open(sys.argv[1], \"rb\").read(); "
                      "print(d[:8] == b\"VXPK\\0\\0\\0\\0\", zlib.decompress(d[8:]) == open(sys.argv[2], \"rb\").read())",
                      "'" + (dir / "packed") + "' '" + (dir / "plain") + "'"),
            "True True");
  EXPECT_EQ(Ok("DecompressFile", {dir / "packed", dir / "unpacked"}).number(0), 50000);
  EXPECT_EQ(ReadBytes(dir / "unpacked"), original);

  WriteBytes(dir / "empty", "");
  Ok("CompressFile", {dir / "empty", dir / "empty.pk"});
  EXPECT_EQ(Ok("DecompressFile", {dir / "empty.pk", dir / "empty.out"}).number(0), 0);

  // The same file on both sides is refused before anything is truncated.
  EXPECT_EQ(fx.Call("CompressFile", {dir / "plain", dir / "plain"}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("DecompressFile", {dir / "packed", dir / "../" + dir.path().filename().string() + "/packed"}).error,
            ERR_WRONGUSAGE);
  EXPECT_EQ(ReadBytes(dir / "plain"), original);
  EXPECT_EQ(fs::file_size(dir / "packed"), static_cast<uintmax_t>(packedSize));

  const CallResult notPacked = fx.Call("DecompressFile", {dir / "plain", dir / "x"});
  EXPECT_EQ(notPacked.error, ERR_PAKFORMAT);
  EXPECT_EQ(notPacked.message, "Unknown compression format!");
  WriteBytes(dir / "cut", ReadBytes(dir / "packed").substr(0, 100));
  EXPECT_EQ(fx.Call("DecompressFile", {dir / "cut", dir / "x"}).error, ERR_ZLIBDATA);
  EXPECT_EQ(fx.Call("CompressFile", {dir / "missing", dir / "x"}).error, ERR_READFILE);
  EXPECT_EQ(fx.Call("CompressFile", {dir / "plain", dir / "no/dir/x"}).error, ERR_WRITEFILE);
}

TEST_F(RecordCommandsTest, ApplyPatchReportsProgressAndTakesAnEmptyPatch) {
  DefineProgressCallback(fx);
  const std::string before = "hello";
  const std::string after = "jello world";
  std::string patch;
  for (size_t i = 0; i < after.size(); ++i) {
    patch += static_cast<char>(i < before.size() ? after[i] ^ before[i] : ~after[i]);
  }
  WriteBytes(dir / "patch", patch);
  WriteBytes(dir / "old", before);
  Open(1, "patch", kModeReadConstant);
  Open(2, "old", kModeReadConstant);
  Open(3, "new", kModeWriteConstant);
  fx.SetGlobal("answer", 0);
  Ok("ApplyPatch", {1, 2, 3, Arg::Global("progress")});
  Ok("CloseFile", {3});
  EXPECT_EQ(ReadBytes(dir / "new"), after);
  std::string expected;
  for (int percent : {9, 18, 27, 36, 45, 54, 63, 72, 81, 90, 100}) expected += "progress=" + std::to_string(percent) + "\n";
  EXPECT_EQ(fx.TakeDebugOutput(), expected);

  WriteBytes(dir / "nothing", "");
  Open(1, "nothing", kModeReadConstant);
  Open(3, "new", kModeWriteConstant);
  Ok("ApplyPatch", {1, 2, 3, Arg::Global("progress")});
  EXPECT_EQ(Ok("FileLength", {3}).number(0), 0);
  EXPECT_EQ(fx.TakeDebugOutput(), "");

  EXPECT_EQ(fx.Call("ApplyPatch", {1, 2, 9}).error, ERR_FINDFILE);
  EXPECT_EQ(fx.Call("ApplyPatch", {1, 2, 3, 4}).error, ERR_FUNCEXPECTED);
  Open(1, "patch", kModeReadConstant);
  EXPECT_EQ(fx.Call("ApplyPatch", {1, 2, 2}).error, ERR_READONLY);
}

}  // namespace
}  // namespace tembrovia
