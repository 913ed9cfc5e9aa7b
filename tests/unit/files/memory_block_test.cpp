#include "files/memory_block.h"

#include <gtest/gtest.h>

#include <cstring>

#include "files/file_handle.h"
#include "files/file_stream.h"

namespace tembrovia {
namespace {

std::unique_ptr<MemoryBlock> Block(int64_t size, uint8_t fill = 0) {
  std::unique_ptr<MemoryBlock> block;
  EXPECT_EQ(MemoryBlock::Allocate(size, block), ERR_NONE);
  std::fill(block->Data(), block->Data() + size, fill);
  return block;
}

TEST(MemoryBlockTest, AllocationLimits) {
  std::unique_ptr<MemoryBlock> block;
  EXPECT_EQ(MemoryBlock::Allocate(0, block), ERR_WRONGUSAGE);
  EXPECT_EQ(MemoryBlock::Allocate(-5, block), ERR_WRONGUSAGE);
  EXPECT_EQ(MemoryBlock::Allocate(int64_t{1} << 40, block), ERR_MEM);
  EXPECT_FALSE(block);
  EXPECT_EQ(MemoryBlock::Allocate(1, block), ERR_NONE);
  EXPECT_EQ(block->Size(), 1);
}

TEST(MemoryBlockTest, PeekAndPokeNumbers) {
  auto block = Block(8);
  uint32_t value;
  EXPECT_EQ(block->PokeNumber(0, 258, kTypeShort), ERR_NONE);
  EXPECT_EQ(block->Data()[0], 1);
  EXPECT_EQ(block->Data()[1], 2);
  EXPECT_EQ(block->PeekNumber(0, kTypeShort, value), ERR_NONE);
  EXPECT_EQ(value, 258u);
  EXPECT_EQ(block->PokeNumber(4, -2, kTypeInteger), ERR_NONE);
  EXPECT_EQ(block->PeekNumber(4, kTypeInteger, value), ERR_NONE);
  EXPECT_EQ(value, 4294967294u) << "read unsigned";
  EXPECT_EQ(block->PokeNumber(7, 0x1FF, kTypeByte), ERR_NONE);
  EXPECT_EQ(block->PeekNumber(7, kTypeByte, value), ERR_NONE);
  EXPECT_EQ(value, 255u);

  struct Case {
    int64_t offset;
    int type;
    ErrorCode expected;
  } cases[] = {
      {5, kTypeInteger, ERR_MEMRANGE}, {4, kTypeInteger, ERR_NONE},      {7, kTypeShort, ERR_MEMRANGE},
      {8, kTypeByte, ERR_MEMRANGE},    {-1, kTypeByte, ERR_MEMRANGE},    {INT64_MAX, kTypeInteger, ERR_MEMRANGE},
      {INT64_MIN, kTypeByte, ERR_MEMRANGE}, {0, kTypeString, ERR_WRONGUSAGE}, {0, 99, ERR_WRONGUSAGE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(block->PeekNumber(c.offset, c.type, value), c.expected) << c.offset << " " << c.type;
    EXPECT_EQ(block->PokeNumber(c.offset, 0, c.type), c.expected) << c.offset << " " << c.type;
  }
}

TEST(MemoryBlockTest, Strings) {
  auto block = Block(10, 'x');
  EXPECT_EQ(block->PokeString(6, "abcd"), ERR_MEMRANGE) << "the zero byte does not fit";
  EXPECT_EQ(block->Data()[6], 'x') << "unchanged";
  EXPECT_EQ(block->PokeString(5, "abcd"), ERR_NONE);
  EXPECT_EQ(block->Data()[9], 0);
  std::string text;
  EXPECT_EQ(block->PeekString(5, 0, text), ERR_NONE);
  EXPECT_EQ(text, "abcd");
  EXPECT_EQ(block->PeekString(3, 4, text), ERR_NONE);
  EXPECT_EQ(text, "xxab");
  block->Data()[0] = '\t';
  block->Data()[1] = 0xE9;
  block->Data()[2] = 0x7F;
  EXPECT_EQ(block->PeekString(0, 0, text), ERR_NONE);
  EXPECT_EQ(text, "\t\xE9");
  EXPECT_EQ(block->PeekString(10, 0, text), ERR_NONE);
  EXPECT_EQ(text, "");
  EXPECT_EQ(block->PeekString(-1, 2, text), ERR_MEMRANGE);
  EXPECT_EQ(block->PeekString(0, -1, text), ERR_WRONGUSAGE);
  EXPECT_EQ(block->PeekString(8, 3, text), ERR_MEMRANGE);
  EXPECT_EQ(block->PeekString(11, 0, text), ERR_MEMRANGE);
}

TEST(MemoryBlockTest, FillAndCopy) {
  auto block = Block(12, 0xAA);
  EXPECT_EQ(block->Fill(0x11223344, 8, 0, kTypeInteger), ERR_NONE);
  EXPECT_EQ(std::vector<uint8_t>(block->Data(), block->Data() + 9),
            (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44, 0x11, 0x22, 0x33, 0x44, 0xAA}));
  EXPECT_EQ(block->Fill(1, 6, 0, kTypeInteger), ERR_WRONGUSAGE);
  EXPECT_EQ(block->Fill(1, 4, 2, kTypeInteger), ERR_WRONGUSAGE);
  EXPECT_EQ(block->Fill(1, 3, 0, kTypeShort), ERR_WRONGUSAGE);
  EXPECT_EQ(block->Fill(0xBEEF, 4, 8, kTypeShort), ERR_NONE);
  EXPECT_EQ(block->Data()[10], 0xBE);
  EXPECT_EQ(block->Fill(7, 0, 100, kTypeByte), ERR_NONE) << "count 0 does nothing";
  EXPECT_EQ(block->Fill(7, 5, 8, kTypeByte), ERR_MEMRANGE);
  EXPECT_EQ(block->Fill(7, 1, 0, 3), ERR_WRONGUSAGE);

  auto other = Block(4, 0);
  EXPECT_EQ(CopyMemory(*block, *other, 4, 8, 0), ERR_NONE);
  EXPECT_EQ(other->Data()[0], 0xBE);
  EXPECT_EQ(CopyMemory(*block, *block, 1, 0, 1), ERR_WRONGUSAGE);
  EXPECT_EQ(CopyMemory(*block, *other, 5, 0, 0), ERR_MEMRANGE);
  EXPECT_EQ(CopyMemory(*block, *other, 2, 11, 0), ERR_MEMRANGE);
  EXPECT_EQ(CopyMemory(*block, *other, 0, 99, 99), ERR_NONE);
}

TEST(MemoryBlockTest, TransfersWithFiles) {
  auto stream = FileStream::CreateInMemory();
  stream->Write("0123456789", 10);
  stream->Seek(2, SeekOrigin::Start);
  FileHandle file(std::move(stream), OpenMode::ReadWrite, kModeReadWriteConstant);
  file.Seek(2);
  auto block = Block(6, '.');
  EXPECT_EQ(block->ReadFromFile(file, 4, 1), ERR_NONE);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block->Data()), 6), ".2345.");
  EXPECT_EQ(file.Position(), 6);
  EXPECT_EQ(block->ReadFromFile(file, 5, 0), ERR_READ) << "only 4 bytes left";
  EXPECT_EQ(file.Position(), 10);
  EXPECT_EQ(block->ReadFromFile(file, 1, -1), ERR_WRONGUSAGE);
  EXPECT_EQ(block->ReadFromFile(file, 7, 0), ERR_MEMRANGE);
  EXPECT_EQ(block->ReadFromFile(file, 0, -1), ERR_NONE);
  EXPECT_EQ(block->WriteToFile(file, 3, 3), ERR_NONE);
  EXPECT_EQ(file.Length(), 13);
  const auto& bytes = file.Stream().WrittenBytes();
  EXPECT_EQ(std::string(bytes.begin() + 10, bytes.end()), std::string(reinterpret_cast<char*>(block->Data()) + 3, 3));

  FileHandle readOnly(FileStream::FromString(std::make_shared<const std::string>("abc")), OpenMode::Read,
                      kModeReadConstant);
  EXPECT_EQ(block->WriteToFile(readOnly, 1, 0), ERR_READONLY);
  auto writeStream = FileStream::CreateInMemory();
  FileHandle writeOnly(std::move(writeStream), OpenMode::Write, kModeWriteConstant);
  EXPECT_EQ(block->ReadFromFile(writeOnly, 1, 0), ERR_WRITEONLY);
}

TEST(MemoryBlockTest, StreamOverABlockKeepsItsBytes) {
  std::unique_ptr<FileStream> stream;
  {
    auto block = Block(8, 'q');
    EXPECT_EQ(block->OpenStream(6, 3, stream), ERR_MEMRANGE);
    ASSERT_EQ(block->OpenStream(2, 3, stream), ERR_NONE);
  }
  char bytes[8];
  EXPECT_EQ(stream->Read(bytes, sizeof bytes), 3u);
  EXPECT_EQ(std::string(bytes, 3), "qqq");
}

TEST(MemoryBlockTest, DumpLayoutAndFormatLikeBytes) {
  auto block = Block(20);
  const char text[] = "%s%n%x %d\x01\xA9 ~z\x7F\x80";
  std::memcpy(block->Data(), text, 16);
  for (int i = 16; i < 20; ++i) block->Data()[i] = static_cast<uint8_t>('A' + i - 16);
  std::string dump;
  ASSERT_EQ(block->Dump(0, 0, dump), ERR_NONE);
  EXPECT_EQ(dump,
            "00000000: 25 73 25 6e 25 78 20 25 64 01 a9 20 7e 7a 7f 80 %s%n%x %d.\xA9 ~z..\n"
            "00000010: 41 42 43 44 " + std::string(36, ' ') + "ABCD\n");
  ASSERT_EQ(block->Dump(2, 17, dump), ERR_NONE);
  EXPECT_EQ(dump, "00000011: 42 43 " + std::string(42, ' ') + "BC\n");
  EXPECT_EQ(block->Dump(0, 4, dump), ERR_MEMRANGE) << "length 0 stands for the whole block";
  EXPECT_EQ(block->Dump(4, -1, dump), ERR_WRONGUSAGE);
  EXPECT_EQ(block->Dump(-4, 0, dump), ERR_MEMRANGE);
}

}  // namespace
}  // namespace tembrovia
