// The "memblock" library through the VM: numbers and strings at offsets, fills and copies,
// transfers with open files, the dump on the debug channel, and the range checks.
#include <algorithm>
#include <string>
#include <vector>

#include "files/file_handle.h"
#include "files/memory_block.h"
#include "files/scratch_dir.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

class MemBlockCommandsTest : public CommandTest {
 protected:
  CallResult Ok(std::string_view command, std::vector<Arg> args = {}) {
    CallResult r = fx.Call(command, std::move(args));
    EXPECT_TRUE(r.ok()) << command << ": " << r.message;
    return r;
  }
  // The block's bytes, read back with Peek.
  std::string Bytes(int id, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += static_cast<char>(Ok("Peek", {id, i, kTypeByte}).number(0));
    return bytes;
  }
};

TEST_F(MemBlockCommandsTest, TheLibraryRegistersItsNineCommands) {
  std::vector<std::string> registered;
  for (const RegisteredLibrary& library : fx.runtime().commands().libraries()) {
    if (library.name == "memblock") {
      for (const CommandEntry& entry : library.commands) registered.push_back(entry.name);
    }
  }
  std::sort(registered.begin(), registered.end());
  EXPECT_EQ(registered, (std::vector<std::string>{"AllocMem", "CopyMem", "DumpMem", "FillMem", "FreeMem", "Peek",
                                                  "Poke", "ReadMem", "WriteMem"}));
  // The element types are the global constants other libraries register.
  const std::pair<const char*, int> types[] = {
      {"#INTEGER", kTypeInteger}, {"#SHORT", kTypeShort}, {"#BYTE", kTypeByte}, {"#STRING", kTypeString}};
  for (const auto& [name, value] : types) EXPECT_EQ(Ok("GetConstant", {name}).number(0), value) << name;
  EXPECT_EQ(Ok("GetConstant", {"#MEMORY"}).number(0), 39);
}

TEST_F(MemBlockCommandsTest, NumbersAreBigEndianAndReadUnsigned) {
  Ok("AllocMem", {1, 8});
  Ok("Poke", {1, 0, 258, kTypeShort});
  EXPECT_EQ(Bytes(1, 2), "\x01\x02");
  EXPECT_EQ(Ok("Peek", {1, 0, kTypeShort}).number(0), 258);
  Ok("Poke", {1, 4, -2});  // #INTEGER by default
  EXPECT_EQ(Ok("Peek", {1, 4}).number(0), 4294967294.0);
  Ok("Poke", {1, 0, 511.7, kTypeByte});
  EXPECT_EQ(Ok("Peek", {1, 0, kTypeByte}).number(0), 255);
  Ok("Poke", {1, 0, 0x11223344, kTypeInteger});
  EXPECT_EQ(Bytes(1, 4), "\x11\x22\x33\x44");

  EXPECT_EQ(fx.Call("Peek", {1, 5, kTypeInteger}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("Peek", {1, -1}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("Peek", {1, 0, 2}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("Poke", {1, 7, 1, kTypeShort}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("Poke", {1, 0, 1, 5}).error, ERR_WRONGUSAGE);
  const CallResult range = fx.Call("Poke", {1, 8, 1, kTypeByte});
  EXPECT_EQ(range.error, ERR_MEMRANGE);
  EXPECT_EQ(range.message, "Specified offset is out of range!");
  EXPECT_EQ(Bytes(1, 4), "\x11\x22\x33\x44") << "range errors leave the block as it was";
}

TEST_F(MemBlockCommandsTest, StringsCarryTheirZeroByte) {
  Ok("AllocMem", {1, 10});
  EXPECT_EQ(fx.Call("Poke", {1, 7, "abcd", kTypeString}).error, ERR_MEMRANGE);  // the zero byte does not fit
  Ok("Poke", {1, 5, "abcd", kTypeString});
  EXPECT_EQ(Ok("Peek", {1, 5, kTypeString}).string(0), "abcd");
  EXPECT_EQ(Ok("Peek", {1, 5, kTypeString, 5}).string(0), std::string("abcd\0", 5));
  EXPECT_EQ(fx.Call("Peek", {1, 5, kTypeString, 6}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("Peek", {1, 5, kTypeString, -1}).error, ERR_WRONGUSAGE);
  Ok("Poke", {1, 0, "a\tb c", kTypeString});
  EXPECT_EQ(Ok("Peek", {1, 0, kTypeString}).string(0), "a\tb c");
}

TEST_F(MemBlockCommandsTest, FillAndCopy) {
  Ok("AllocMem", {1, 8});
  Ok("FillMem", {1, 0x11223344, 8, 0, kTypeInteger});
  EXPECT_EQ(Bytes(1, 8), "\x11\x22\x33\x44\x11\x22\x33\x44");
  EXPECT_EQ(fx.Call("FillMem", {1, 0x11223344, 6, 0, kTypeInteger}).error, ERR_WRONGUSAGE);
  Ok("FillMem", {1, 0xABCD, 4, 2, kTypeShort});
  EXPECT_EQ(Bytes(1, 8), "\x11\x22\xAB\xCD\xAB\xCD\x33\x44");
  Ok("FillMem", {1, 7, 3});  // #BYTE from offset 0
  EXPECT_EQ(Bytes(1, 4), "\x07\x07\x07\xCD");
  Ok("FillMem", {1, 9, 0});
  Ok("FillMem", {1, 9, -5});
  EXPECT_EQ(fx.Call("FillMem", {1, 9, 2, 7}).error, ERR_MEMRANGE);

  Ok("AllocMem", {2, 4});
  Ok("CopyMem", {1, 2, 3, 5, 1});
  EXPECT_EQ(Bytes(2, 4).substr(1), "\xCD\x33\x44");
  EXPECT_EQ(fx.Call("CopyMem", {1, 1, 2}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("CopyMem", {1, 2, 4, 0, 1}).error, ERR_MEMRANGE);
  Ok("CopyMem", {1, 2, 0, 100, 100});  // nothing to copy
}

TEST_F(MemBlockCommandsTest, AllocationAndRangesAreCheckedIn64Bit) {
  EXPECT_EQ(fx.Call("AllocMem", {1, 0}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("AllocMem", {1, -8}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("AllocMem", {1, 1e300}).error, ERR_MEM);
  EXPECT_EQ(fx.Call("AllocMem", {1, "x"}).error, ERR_NUMEXPECTED);
  Ok("AllocMem", {1, 16});
  // offset + length beyond 2^63 must not wrap around into the block.
  const double huge = 9223372036854775807.0;
  EXPECT_EQ(fx.Call("Peek", {1, huge, kTypeString, huge}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("FillMem", {1, 0, huge, 8}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("CopyMem", {1, 1, 4}).error, ERR_WRONGUSAGE);
  Ok("AllocMem", {2, 16});
  EXPECT_EQ(fx.Call("CopyMem", {1, 2, 8, huge, 0}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("CopyMem", {1, 2, 4294967296.0 + 4, 0, 0}).error, ERR_MEMRANGE);  // not cut to 32 bits
  EXPECT_EQ(fx.Call("DumpMem", {1, 0, 4}).error, ERR_MEMRANGE);  // length 0 is the whole block
  EXPECT_EQ(fx.Call("DumpMem", {1, 4, -1}).error, ERR_WRONGUSAGE);
}

TEST_F(MemBlockCommandsTest, HandlesNumbersAndFreeing) {
  const ScriptValue handle = Ok("AllocMem", {kNil, 4}).value(0);
  EXPECT_EQ(Ok("GetObjectType", {handle}).number(0), kTypeMemory);
  Ok("Poke", {handle, 0, 5});
  EXPECT_EQ(Ok("Peek", {handle, 0}).number(0), 5);
  Ok("FreeMem", {handle});
  EXPECT_EQ(fx.Call("Peek", {handle, 0}).error, ERR_FINDARRAY);
  const CallResult missing = fx.Call("FreeMem", {3});
  EXPECT_EQ(missing.error, ERR_FINDMEMBLK);
  EXPECT_EQ(missing.message, "Could not find memory block 3!");

  Ok("AllocMem", {1, 4});
  Ok("Poke", {1, 0, 9});
  Ok("AllocMem", {1, 8});  // replaces block 1
  EXPECT_EQ(Ok("GetObjects", {kTypeMemory}).number(1), 1);
  EXPECT_EQ(fx.Call("Peek", {1, 4}).ok(), true) << "the new block has 8 bytes";
}

TEST_F(MemBlockCommandsTest, TransfersWithOpenFiles) {
  ScratchDir dir;
  WriteBytes(dir / "in.bin", "0123456789");
  ASSERT_TRUE(fx.Call("OpenFile", {1, dir / "in.bin"}).ok());
  Ok("AllocMem", {1, 8});
  Ok("Seek", {1, 2});
  Ok("ReadMem", {1, 1, 4, 2});
  EXPECT_EQ(Bytes(1, 8).substr(2, 4), "2345");
  EXPECT_EQ(Ok("FilePos", {1}).number(0), 6);
  EXPECT_EQ(fx.Call("ReadMem", {1, 1, 2, -1}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("ReadMem", {1, 1, 2, 7}).error, ERR_MEMRANGE);
  EXPECT_EQ(fx.Call("ReadMem", {1, 2, 2}).error, ERR_FINDMEMBLK);
  EXPECT_EQ(fx.Call("ReadMem", {2, 1, 2}).error, ERR_FINDFILE);
  EXPECT_EQ(fx.Call("WriteMem", {1, 1, 2}).error, ERR_READONLY);

  ASSERT_TRUE(fx.Call("OpenFile", {2, dir / "out.bin", kModeWriteConstant}).ok());
  Ok("WriteMem", {2, 1, 4, 2});
  Ok("WriteMem", {2, 1, 0});
  EXPECT_EQ(Ok("FileLength", {2}).number(0), 4);
  EXPECT_EQ(fx.Call("ReadMem", {2, 1, 2}).error, ERR_WRITEONLY);
  Ok("CloseFile", {2});
  EXPECT_EQ(ReadBytes(dir / "out.bin"), "2345");

  EXPECT_EQ(fx.Call("ReadMem", {1, 1, 5}).error, ERR_READ) << "only 4 bytes are left";
  EXPECT_EQ(Ok("FilePos", {1}).number(0), 10) << "the position follows what was read";
}

TEST_F(MemBlockCommandsTest, DumpPrintsBytesAsTextNeverAsAFormat) {
  Ok("AllocMem", {1, 20});
  const std::string text = "%s%n%x%%\x01 ok\xff\x7f";  // 14 bytes
  for (size_t i = 0; i < 20; ++i) {
    Ok("Poke", {1, static_cast<double>(i), i < text.size() ? static_cast<uint8_t>(text[i]) : 0x41 + i, kTypeByte});
  }
  fx.TakeDebugOutput();
  Ok("DumpMem", {1});
  EXPECT_EQ(fx.TakeDebugOutput(),
            "00000000: 25 73 25 6e 25 78 25 25 01 20 6f 6b ff 7f 4f 50 %s%n%x%%. ok\xff.OP\n"
            "00000010: 51 52 53 54 " + std::string(12 * 3, ' ') + "QRST\n");
  Ok("DumpMem", {1, 3, 17});
  EXPECT_EQ(fx.TakeDebugOutput(), "00000011: 52 53 54 " + std::string(13 * 3, ' ') + "RST\n");
}

}  // namespace
}  // namespace tembrovia
