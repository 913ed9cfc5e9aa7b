#include <algorithm>
#include <bit>
#include <cstring>

#include "vm/chunk.h"
#include "vm/errors.h"
#include "vm/function.h"
#include "vm/memory.h"
#include "vm/string_table.h"

namespace tembrovia {
namespace {

// Pulls bytes from the reader block by block; running out raises ERR_UNEXPECTEDEOF.
class ChunkInput {
 public:
  ChunkInput(VMState* L, ChunkReader reader, void* data) : L_(L), reader_(reader), data_(data) {}

  void Read(void* target, size_t n) {
    unsigned char* out = static_cast<unsigned char*>(target);
    while (n > 0) {
      if (available_ == 0 && !Refill()) RaiseError(L_, ERR_UNEXPECTEDEOF);
      size_t take = std::min(n, available_);
      std::memcpy(out, block_, take);
      block_ += take;
      available_ -= take;
      out += take;
      n -= take;
    }
  }

  uint8_t Byte() {
    uint8_t b;
    Read(&b, 1);
    return b;
  }

  // True when at least n more bytes can be read; pulls blocks as needed but keeps them.
  // Counts from headers are checked against this before anything is allocated for them.
  bool HasAtLeast(uint64_t n) {
    while (available_ + pending_.size() < n) {
      size_t size = 0;
      const char* more = reader_(L_, data_, &size);
      if (more == nullptr || size == 0) return false;
      Consolidate(more, size);
    }
    return true;
  }

 private:
  bool Refill() {
    if (!pending_.empty()) {
      // Bytes gathered by HasAtLeast become the current block.
      current_.swap(pending_);
      pending_.clear();
      block_ = reinterpret_cast<const unsigned char*>(current_.data());
      available_ = current_.size();
      return true;
    }
    size_t size = 0;
    const char* more = reader_(L_, data_, &size);
    if (more == nullptr || size == 0) return false;
    block_ = reinterpret_cast<const unsigned char*>(more);
    available_ = size;
    return true;
  }

  void Consolidate(const char* more, size_t size) {
    if (pending_.empty()) {
      std::string joined(reinterpret_cast<const char*>(block_), available_);
      pending_.swap(joined);
      available_ = 0;
    }
    pending_.append(more, size);
  }

  VMState* L_;
  ChunkReader reader_;
  void* data_;
  const unsigned char* block_ = nullptr;
  size_t available_ = 0;
  std::string current_;
  std::string pending_;
};

class Undumper {
 public:
  Undumper(VMState* L, ChunkReader reader, void* data) : L_(L), in_(L, reader, data) {}

  void Header() {
    for (char expected : kChunkSignature) {
      if (static_cast<char>(in_.Byte()) != expected) RaiseError(L_, ERR_BADSIGNATURE);
    }
    swap_ = in_.Byte() != 1;
    for (uint8_t expected : kChunkSizes) {
      if (in_.Byte() != expected) RaiseError(L_, ERR_VMMISMATCH);
    }
    double test = Number();
    // Only the integer part is compared.
    if (!(test >= 31415926.0 && test < 31415927.0)) RaiseError(L_, ERR_UNKNUMFMT);
  }

  Proto* Function(InternedString* parentSource) {
    Proto* p = NewProto(L_);
    p->source = String();
    if (p->source == nullptr) p->source = parentSource;
    p->lineDefined = Count();
    p->nups = in_.Byte();
    p->numparams = in_.Byte();
    p->is_vararg = in_.Byte();
    p->maxstacksize = in_.Byte();

    uint32_t n = CountFor(4);
    p->lineinfo = AllocateArray<int32_t>(L_, n);
    p->sizelineinfo = n;
    for (uint32_t i = 0; i < n; ++i) p->lineinfo[i] = Int();

    n = CountFor(12);
    p->locvars = AllocateArray<LocalVariable>(L_, n);
    for (uint32_t i = 0; i < n; ++i) p->locvars[i] = LocalVariable{nullptr, 0, 0};
    p->sizelocvars = n;
    for (uint32_t i = 0; i < n; ++i) {
      p->locvars[i].name = String();
      p->locvars[i].startpc = Count();
      p->locvars[i].endpc = Count();
    }

    n = CountFor(4);
    if (n != 0 && n != p->nups) RaiseError(L_, ERR_BADUPVALUES);
    p->upvalues = AllocateArray<InternedString*>(L_, n);
    for (uint32_t i = 0; i < n; ++i) p->upvalues[i] = nullptr;
    p->sizeupvalues = n;
    for (uint32_t i = 0; i < n; ++i) p->upvalues[i] = String();

    n = CountFor(1);
    p->k = AllocateArray<Value>(L_, n);
    for (uint32_t i = 0; i < n; ++i) SetNil(&p->k[i]);
    p->sizek = n;
    for (uint32_t i = 0; i < n; ++i) {
      switch (in_.Byte()) {
        case TagNil: break;
        case TagNumber: SetNumber(&p->k[i], Number()); break;
        case TagString: {
          InternedString* s = String();
          if (s == nullptr) s = InternString(L_, "", 0);
          SetString(&p->k[i], s);
          break;
        }
        default: RaiseError(L_, ERR_BADCONSTANT);
      }
    }

    n = CountFor(kMinFunctionBytes);
    p->p = AllocateArray<Proto*>(L_, n);
    for (uint32_t i = 0; i < n; ++i) p->p[i] = nullptr;
    p->sizep = n;
    if (++depth_ > kMaxNesting) RaiseError(L_, ERR_BADBYTECODE);
    for (uint32_t i = 0; i < n; ++i) p->p[i] = Function(p->source);
    --depth_;

    n = CountFor(4);
    p->code = AllocateArray<Instruction>(L_, n);
    p->sizecode = n;
    for (uint32_t i = 0; i < n; ++i) p->code[i] = static_cast<Instruction>(Int());

    if (!VerifyProto(p)) RaiseError(L_, ERR_BADBYTECODE);
    return p;
  }

 private:
  // A function in a chunk takes at least this many bytes (empty source, counts and bytes).
  static constexpr uint64_t kMinFunctionBytes = 4 + 4 + 4 + 4 * 6;
  static constexpr int kMaxNesting = 200;

  int32_t Int() {
    uint32_t v;
    in_.Read(&v, 4);
    if (swap_) v = __builtin_bswap32(v);
    return static_cast<int32_t>(v);
  }

  // A non-negative integer (counts, positions, lineDefined).
  int32_t Count() {
    int32_t v = Int();
    if (v < 0) RaiseError(L_, ERR_BADINTEGER);
    return v;
  }

  // A count of items that each take at least itemBytes: checked against the data that is
  // really there before anything is allocated for it.
  uint32_t CountFor(uint64_t itemBytes) {
    uint32_t n = static_cast<uint32_t>(Count());
    if (!in_.HasAtLeast(static_cast<uint64_t>(n) * itemBytes)) RaiseError(L_, ERR_UNEXPECTEDEOF);
    return n;
  }

  double Number() {
    uint64_t bits;
    in_.Read(&bits, 8);
    if (swap_) bits = __builtin_bswap64(bits);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }

  InternedString* String() {
    uint32_t size;
    in_.Read(&size, 4);
    if (swap_) size = __builtin_bswap32(size);
    if (size == 0) return nullptr;
    if (!in_.HasAtLeast(size)) RaiseError(L_, ERR_UNEXPECTEDEOF);
    std::string bytes(size, '\0');
    in_.Read(bytes.data(), size);
    return InternString(L_, bytes.data(), size - 1);
  }

  VMState* L_;
  ChunkInput in_;
  bool swap_ = false;
  int depth_ = 0;
};

}  // namespace

std::string ChunkLabel(const char* name) {
  if (name == nullptr) return "?";
  if (name[0] == '=' || name[0] == '@') return name + 1;
  if (name[0] == '\x1B') return "binary string";
  return name;
}

Proto* UndumpChunk(VMState* L, ChunkReader reader, void* readerData, InternedString* name) {
  Undumper undumper(L, reader, readerData);
  undumper.Header();
  return undumper.Function(name);
}

}  // namespace tembrovia
