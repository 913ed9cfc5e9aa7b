#include "app/container/applet_inflate.h"

#include <zlib.h>

#include <algorithm>

#include "app/container/applet_format.h"

namespace tembrovia {
namespace {

constexpr size_t kInflateBuffer = 16 * 1024;

class ZlibStream {
 public:
  ZlibStream() : result_(inflateInit(&stream_)) {}
  ~ZlibStream() {
    if (result_ == Z_OK) inflateEnd(&stream_);
  }
  ZlibStream(const ZlibStream&) = delete;
  ZlibStream& operator=(const ZlibStream&) = delete;

  int InitResult() const { return result_; }
  z_stream& operator*() { return stream_; }

 private:
  z_stream stream_{};
  int result_;
};

}  // namespace

ErrorCode MemoryInflateSink::Write(const uint8_t* data, size_t count) {
  if (count > limit_ - data_.size()) return ERR_MEM;
  data_.insert(data_.end(), data, data + count);
  return ERR_NONE;
}

ErrorCode FileInflateSink::Write(const uint8_t* data, size_t count) {
  if (count > limit_ - written_) return ERR_WRITE;
  written_ += count;
  return std::fwrite(data, 1, count, file_) == count ? ERR_NONE : ERR_WRITE;
}

ErrorCode ZlibErrorCode(int zlibResult) {
  switch (zlibResult) {
    case Z_OK:
    case Z_STREAM_END:
      return ERR_NONE;
    case Z_ERRNO:
      return ERR_ZLIBIO;
    case Z_STREAM_ERROR:
      return ERR_ZLIBSTREAM;
    case Z_DATA_ERROR:
      return ERR_ZLIBDATA;
    case Z_MEM_ERROR:
      return ERR_MEM;
    case Z_VERSION_ERROR:
      return ERR_ZLIBVERSION;
    default:
      return ERR_UNKNOWN;
  }
}

ErrorCode InflateContainer(ByteSource& source, uint64_t appletOffset, InflateSink& sink) {
  uint64_t size = source.Size();
  if (appletOffset > size || size - appletOffset < kCompressedHeaderSize) return ERR_ZLIBDATA;
  uint8_t magic[4];
  if (!source.Read(appletOffset, magic, sizeof magic)) return ERR_READ;
  uint32_t value = (uint32_t{magic[0]} << 24) | (uint32_t{magic[1]} << 16) |
                   (uint32_t{magic[2]} << 8) | magic[3];
  if (value != kCompressedContainerMagic) return ERR_PAKFORMAT;

  ZlibStream zlib;
  if (zlib.InitResult() != Z_OK) return ZlibErrorCode(zlib.InitResult());
  z_stream& stream = *zlib;

  std::vector<uint8_t> input(kInflateBuffer);
  std::vector<uint8_t> output(kInflateBuffer);
  uint64_t position = appletOffset + kCompressedHeaderSize;
  while (true) {
    if (stream.avail_in == 0) {
      size_t want = static_cast<size_t>(std::min<uint64_t>(kInflateBuffer, size - position));
      // The data ended before the stream's end marker.
      if (want == 0) return ERR_ZLIBDATA;
      if (!source.Read(position, input.data(), want)) return ERR_READ;
      position += want;
      stream.next_in = input.data();
      stream.avail_in = static_cast<uInt>(want);
    }
    stream.next_out = output.data();
    stream.avail_out = static_cast<uInt>(output.size());
    int result = inflate(&stream, Z_NO_FLUSH);
    if (result == Z_NEED_DICT) return ERR_ZLIBDATA;
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
      return ZlibErrorCode(result);
    }
    size_t produced = output.size() - stream.avail_out;
    if (produced) {
      if (ErrorCode error = sink.Write(output.data(), produced)) return error;
    }
    if (result == Z_STREAM_END) return ERR_NONE;
  }
}

}  // namespace tembrovia
