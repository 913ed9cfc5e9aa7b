// The chunk format: a 21-byte header (signature ESC "VXB", endianness byte, eight size bytes,
// the test number) followed by the main prototype and, recursively, those nested in it.
#pragma once

#include <cstdint>
#include <string>

#include "vm/state.h"

namespace tembrovia {

constexpr char kChunkSignature[4] = {'\x1B', 'V', 'X', 'B'};
constexpr uint8_t kChunkSizes[8] = {4, 4, 4, 6, 8, 9, 9, 8};
constexpr double kChunkTestNumber = 31415926.535897933;
constexpr size_t kChunkHeaderSize = 21;

// Reads a chunk (raising the load errors) and returns its main prototype.
Proto* UndumpChunk(VMState* L, ChunkReader reader, void* readerData, InternedString* name);

// Checks one prototype's code; false when it is not safe to run.
bool VerifyProto(const Proto* p);

// Writes a prototype as a chunk; returns the first non-zero writer status.
int DumpProto(VMState* L, const Proto* p, ChunkWriter writer, void* writerData);

// The label a chunk name becomes ("=" and "@" dropped, binary names replaced).
std::string ChunkLabel(const char* name);

}  // namespace tembrovia
