#include <bit>
#include <cstring>
#include <string>

#include "vm/chunk.h"
#include "vm/string_table.h"

namespace tembrovia {
namespace {

class Dumper {
 public:
  Dumper(VMState* L, ChunkWriter writer, void* data) : L_(L), writer_(writer), data_(data) {}

  void Header() {
    Bytes(kChunkSignature, 4);
    Byte(std::endian::native == std::endian::little ? 1 : 0);
    Bytes(kChunkSizes, sizeof kChunkSizes);
    Number(kChunkTestNumber);
  }

  void Function(const Proto* p, const InternedString* parentSource) {
    String(p->source == parentSource ? nullptr : p->source);
    Int(p->lineDefined);
    Byte(p->nups);
    Byte(p->numparams);
    Byte(p->is_vararg);
    Byte(p->maxstacksize);
    Int(static_cast<int32_t>(p->sizelineinfo));
    for (uint32_t i = 0; i < p->sizelineinfo; ++i) Int(p->lineinfo[i]);
    Int(static_cast<int32_t>(p->sizelocvars));
    for (uint32_t i = 0; i < p->sizelocvars; ++i) {
      String(p->locvars[i].name);
      Int(p->locvars[i].startpc);
      Int(p->locvars[i].endpc);
    }
    Int(static_cast<int32_t>(p->sizeupvalues));
    for (uint32_t i = 0; i < p->sizeupvalues; ++i) String(p->upvalues[i]);
    Int(static_cast<int32_t>(p->sizek));
    for (uint32_t i = 0; i < p->sizek; ++i) {
      const Value& v = p->k[i];
      Byte(static_cast<uint8_t>(v.tag));
      if (v.tag == TagNumber) Number(v.n);
      if (v.tag == TagString) String(AsString(v));
    }
    Int(static_cast<int32_t>(p->sizep));
    for (uint32_t i = 0; i < p->sizep; ++i) Function(p->p[i], p->source);
    Int(static_cast<int32_t>(p->sizecode));
    for (uint32_t i = 0; i < p->sizecode; ++i) Int(static_cast<int32_t>(p->code[i]));
  }

  int status() const { return status_; }

 private:
  void Bytes(const void* bytes, size_t n) {
    if (status_ == 0 && n > 0) status_ = writer_(L_, bytes, n, data_);
  }
  void Byte(uint8_t b) { Bytes(&b, 1); }
  void Int(int32_t v) { Bytes(&v, 4); }
  void Number(double d) { Bytes(&d, 8); }
  void String(const InternedString* s) {
    if (s == nullptr) {
      Int(0);
      return;
    }
    Int(static_cast<int32_t>(s->length + 1));
    Bytes(s->data(), s->length + 1);
  }

  VMState* L_;
  ChunkWriter writer_;
  void* data_;
  int status_ = 0;
};

}  // namespace

int DumpProto(VMState* L, const Proto* p, ChunkWriter writer, void* writerData) {
  Dumper dumper(L, writer, writerData);
  dumper.Header();
  dumper.Function(p, nullptr);
  return dumper.status();
}

}  // namespace tembrovia
