#include <gtest/gtest.h>

#include "files/apply_patch.h"
#include "files/base64.h"
#include "files/file_handle.h"
#include "files/function_record.h"
#include "files/table_record.h"
#include "outside_tool.h"
#include "scratch_dir.h"

namespace tembrovia {
namespace {

// A handle over an in-memory file holding `bytes`, readable and writable.
std::unique_ptr<FileHandle> MemoryHandle(const std::string& bytes = {}, int mode = kModeReadWriteConstant) {
  auto stream = FileStream::CreateInMemory();
  stream->Write(bytes.data(), bytes.size());
  stream->Seek(0, SeekOrigin::Start);
  return std::make_unique<FileHandle>(std::move(stream), *OpenModeFromConstant(mode), mode);
}

std::string Contents(FileHandle& handle) {
  const auto& bytes = handle.Stream().WrittenBytes();
  return std::string(bytes.begin(), bytes.end());
}

std::string FakeChunk(size_t size) {
  std::string chunk("\x1bVXB", 4);
  for (size_t i = 4; i < size; ++i) chunk += static_cast<char>(i * 31 % 256);
  return chunk.substr(0, size);
}

TEST(Base64Test, LinesOf72AndStrictDecoding) {
  std::string data = FakeChunk(200);
  std::string text = EncodeBase64Lines(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  // 200 bytes: 268 characters, lines of 72, 72, 72, 52.
  EXPECT_EQ(text.size(), 268u + 3 * 2);
  EXPECT_EQ(text.substr(72, 2), "\r\n");
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
  auto decoded = DecodeBase64(text);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(std::string(decoded->begin(), decoded->end()), data);
  for (const char* bad : {"QUJD=", "QU=D", "Q===", "QUJ", "QU*D", "QUI=QUJD", "QUI==="}) {
    EXPECT_FALSE(DecodeBase64(bad)) << bad;
  }
  for (auto [text, plain] : {std::pair{"", ""}, {"QQ==", "A"}, {"QUI=", "AB"}, {" Q U\tJ\nD ", "ABC"}}) {
    auto bytes = DecodeBase64(text);
    ASSERT_TRUE(bytes) << text;
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), plain);
  }
}

TEST(FunctionRecordTest, BinaryAndTextFormsRoundTripAndPythonReadsTheText) {
  ScratchDir dir;
  std::string chunk = FakeChunk(315);
  for (FunctionForm form : {FunctionForm::Binary, FunctionForm::Text}) {
    auto handle = MemoryHandle();
    ASSERT_EQ(WriteFunctionRecord(*handle, chunk, form), ERR_NONE);
    EXPECT_EQ(handle->Position(), handle->Length());
    std::string record = Contents(*handle);
    if (form == FunctionForm::Binary) {
      EXPECT_EQ(record.substr(0, 8), std::string("VXF0\0\0\x01\x3b", 8));
    } else {
      EXPECT_EQ(record.substr(0, 12), "VXF1000001ae") << "420 Base64 characters + 5 CR LF = 430";
      WriteBytes(dir / "f.rec", record);
      std::string check = RunPython(
          "import sys, base64\n"
          "r = open(sys.argv[1], 'rb').read()\n"
          "n = int(r[4:12], 16)\n"
          "t = r[12:12 + n]\n"
          "lines = t.split(b'\\r\\n')\n"
          "print(len(r) == 12 + n, all(len(l) == 72 for l in lines[:-1]), base64.b64decode(b''.join(lines)).hex())",
          dir / "f.rec");
      std::string hex;
      for (unsigned char c : chunk) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", c);
        hex += pair;
      }
      EXPECT_EQ(check, "True True " + hex);
    }
    handle->Seek(0);
    std::string back;
    ASSERT_EQ(ReadFunctionRecord(*handle, back), ERR_NONE);
    EXPECT_EQ(back, chunk);
  }
}

TEST(FunctionRecordTest, ReaderErrors) {
  std::string chunk;
  struct Case {
    std::string bytes;
    ErrorCode expected;
  } cases[] = {
      {"", ERR_READRANGE},
      {"VX", ERR_READRANGE},
      {"VXT0\0", ERR_READFUNC},
      {std::string("VXF0\x7f\xff\xff\xff", 8) + "abc", ERR_READRANGE},  // size beyond the file
      {"VXF1000000zz", ERR_READFUNC},
      {"VXF100000004QU*D", ERR_BADBASE64},
      {"VXF100000003QUJ", ERR_BADBASE64},
  };
  for (const Case& c : cases) {
    auto handle = MemoryHandle(c.bytes);
    EXPECT_EQ(ReadFunctionRecord(*handle, chunk), c.expected) << c.bytes;
  }
  auto writeOnly = MemoryHandle("VXF0", kModeWriteConstant);
  EXPECT_EQ(ReadFunctionRecord(*writeOnly, chunk), ERR_WRITEONLY);
  auto readOnly = MemoryHandle("", kModeReadConstant);
  EXPECT_EQ(WriteFunctionRecord(*readOnly, "x", FunctionForm::Binary), ERR_READONLY);
}

SerialTable SampleTable() {
  SerialTable nested;
  nested.entries.push_back({SerialValue::Number(1), SerialValue::String(std::string("x\0y", 3))});
  nested.entries.push_back({SerialValue::String("fn"), SerialValue::Function(FakeChunk(150))});
  SerialTable table;
  table.entries.push_back({SerialValue::Number(0), SerialValue::Number(-2.5)});
  table.entries.push_back({SerialValue::String("k"), SerialValue::Table(nested)});
  table.entries.push_back({SerialValue::String(std::string(300, 'L')), SerialValue::String("")});
  return table;
}

TEST(TableRecordTest, RoundTripsInBothFunctionForms) {
  for (FunctionForm form : {FunctionForm::Binary, FunctionForm::Text}) {
    auto handle = MemoryHandle();
    ASSERT_EQ(WriteTableRecord(*handle, SampleTable(), form), ERR_NONE);
    handle->Seek(0);
    SerialTable back;
    ASSERT_EQ(ReadTableRecord(*handle, back), ERR_NONE) << "long string keys and text-form functions read back";
    EXPECT_EQ(back, SampleTable());
    EXPECT_TRUE(handle->Eof());
  }
}

TEST(TableRecordTest, ExactBytesOfASmallTable) {
  SerialTable table;
  table.entries.push_back({SerialValue::Number(0), SerialValue::Userdata()});
  table.entries.push_back({SerialValue::String("a"), SerialValue::Table({})});
  std::string record;
  ASSERT_EQ(EncodeTableRecord(table, FunctionForm::Binary, record), ERR_NONE);
  EXPECT_EQ(record, std::string("VXT0"
                                "\x02\0\0\0\0\0\0\0\0"
                                "\x02\0\0\0\0\0\0\0\0"
                                "\x03\0\0\0\x01" "a"
                                "\x04\0"
                                "\0",
                                4 + 9 + 9 + 6 + 2 + 1));
}

TEST(TableRecordTest, WriterRefusesWhatCannotBeReadBackAndWritesNothing) {
  auto refuse = [](SerialTable table, ErrorCode expected) {
    auto handle = MemoryHandle();
    EXPECT_EQ(WriteTableRecord(*handle, table, FunctionForm::Binary), expected);
    EXPECT_EQ(handle->Length(), 0);
  };
  SerialTable withBoolean;
  withBoolean.entries.push_back({SerialValue::Number(1), SerialValue::Number(2)});
  withBoolean.entries.push_back({SerialValue::Number(2), SerialValue::Boolean(true)});
  refuse(withBoolean, ERR_WRONGUSAGE);
  SerialTable booleanKey;
  booleanKey.entries.push_back({SerialValue::Boolean(false), SerialValue::Number(2)});
  refuse(booleanKey, ERR_WRONGUSAGE);
  SerialTable other;
  other.entries.push_back({SerialValue::Number(1), SerialValue::Other()});
  refuse(other, ERR_WRONGUSAGE);
  SerialTable deep;
  for (int i = 0; i < kMaxSerialDepth + 1; ++i) {
    SerialTable outer;
    outer.entries.push_back({SerialValue::Number(i), SerialValue::Table(std::move(deep))});
    deep = std::move(outer);
  }
  refuse(deep, ERR_STACK);

  auto readOnly = MemoryHandle("", kModeReadConstant);
  EXPECT_EQ(WriteTableRecord(*readOnly, {}, FunctionForm::Binary), ERR_READONLY);
}

TEST(TableRecordTest, GuardRefusesSelfContainmentAndDepth) {
  int a = 0, b = 0;
  SerialGuard guard;
  EXPECT_EQ(guard.Enter(&a), ERR_NONE);
  EXPECT_EQ(guard.Enter(&b), ERR_NONE);
  EXPECT_EQ(guard.Enter(&a), ERR_WRONGUSAGE) << "a table inside itself";
  guard.Leave();
  EXPECT_EQ(guard.Enter(&b), ERR_NONE) << "the same table twice side by side is fine";
  guard.Leave();
  guard.Leave();
  std::vector<int> tables(kMaxSerialDepth + 1);
  SerialGuard deep;
  for (int i = 0; i < kMaxSerialDepth; ++i) ASSERT_EQ(deep.Enter(&tables[i]), ERR_NONE);
  EXPECT_EQ(deep.Enter(&tables[kMaxSerialDepth]), ERR_STACK);
}

TEST(TableRecordTest, ReaderErrors) {
  std::string deep = "VXT0";
  for (int i = 0; i < kMaxSerialDepth + 2; ++i) deep += std::string("\x02\0\0\0\0\0\0\0\0\x04", 10);
  struct Case {
    std::string bytes;
    ErrorCode expected;
  } cases[] = {
      {"", ERR_READRANGE},
      {"VXF0", ERR_READTABLE},
      {"VXT0", ERR_READRANGE},                                                // no terminator
      {std::string("VXT0\x04", 5), ERR_READTABLE},                            // table as key
      {std::string("VXT0\x02\0\0\0\0\0\0\0\0\x09", 14), ERR_READTABLE},       // unknown value tag
      {std::string("VXT0\x03\xff\xff\xff\xff", 9), ERR_READRANGE},            // key longer than the file
      {std::string("VXT0\x02\0\0\0\0\0\0\0\0\x05\0\0\x10\0", 18), ERR_READRANGE},  // function past the end
      {std::string("VXT0\x02\0\0\0\0\0\0\0", 12), ERR_READRANGE},             // number cut short
      {deep, ERR_STACK},
  };
  for (const Case& c : cases) {
    auto handle = MemoryHandle(c.bytes);
    SerialTable table;
    EXPECT_EQ(ReadTableRecord(*handle, table), c.expected) << c.bytes.size();
  }
  auto writeOnly = MemoryHandle("VXT0\0", kModeWriteConstant);
  SerialTable table;
  EXPECT_EQ(ReadTableRecord(*writeOnly, table), ERR_WRITEONLY);
}

TEST(ApplyPatchTest, XorsAndComplementsPastTheSourceEnd) {
  std::string oldBytes = "abcd", newBytes = "abXdEFG";
  std::string patchBytes;
  for (size_t i = 0; i < newBytes.size(); ++i) {
    patchBytes += i < oldBytes.size() ? static_cast<char>(newBytes[i] ^ oldBytes[i]) : static_cast<char>(~newBytes[i]);
  }
  auto patch = MemoryHandle(patchBytes, kModeReadConstant);
  auto source = MemoryHandle(oldBytes, kModeReadConstant);
  auto dest = MemoryHandle();
  std::vector<int> progress;
  PatchProgress callbacks{[&](int percent) {
                            progress.push_back(percent);
                            return CallbackAnswer{};
                          },
                          nullptr};
  ASSERT_EQ(ApplyPatch(*patch, *source, *dest, callbacks), ERR_NONE);
  EXPECT_EQ(Contents(*dest), newBytes);
  EXPECT_EQ(progress, (std::vector<int>{14, 28, 42, 57, 71, 85, 100}));

  auto empty = MemoryHandle("", kModeReadConstant);
  auto out = MemoryHandle();
  int calls = 0;
  PatchProgress counting{[&](int) { ++calls; return CallbackAnswer{}; }, [&] { ++calls; return false; }};
  EXPECT_EQ(ApplyPatch(*empty, *source, *out, counting), ERR_NONE);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(out->Length(), 0);

  auto again = MemoryHandle(patchBytes, kModeReadConstant);
  auto stopped = MemoryHandle();
  source->Seek(0);
  PatchProgress stopAtOnce{nullptr, [] { return true; }};
  EXPECT_EQ(ApplyPatch(*again, *source, *stopped, stopAtOnce), ERR_NONE);
  EXPECT_EQ(stopped->Length(), 1);
  auto raising = MemoryHandle(patchBytes, kModeReadConstant);
  PatchProgress raises{[](int) { return CallbackAnswer{0, ERR_WRONGUSAGE}; }, nullptr};
  EXPECT_EQ(ApplyPatch(*raising, *source, *stopped, raises), ERR_WRONGUSAGE);
}

}  // namespace
}  // namespace tembrovia
