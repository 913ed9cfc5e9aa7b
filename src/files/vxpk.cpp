#include "files/vxpk.h"

#include <sys/stat.h>
#include <zlib.h>

#include <memory>
#include <vector>

#include "files/file_namespace.h"
#include "files/file_stream.h"
#include "files/virtual_name.h"

namespace tembrovia {
namespace {

ErrorCode WriteAll(FileStream& out, const uint8_t* data, size_t count) {
  return out.Write(data, count) == count ? ERR_NONE : ERR_WRITE;
}

// A block read that comes up short before the end of the input is a read error.
ErrorCode ReadBlock(FileStream& in, std::vector<uint8_t>& block, size_t& got) {
  got = in.Read(block.data(), block.size());
  return got < block.size() && !in.AtEnd() ? ERR_READ : ERR_NONE;
}


FileError ConvertFile(std::string_view source, std::string_view dest, int64_t* destSize,
                      const FileNamespace& names, ErrorCode (*convert)(FileStream&, FileStream&, std::string_view)) {
  std::unique_ptr<FileStream> in = FileStream::Open(source, OpenMode::Read, names);
  if (!in) return {ERR_READFILE, std::string(source)};
  if (IsVirtualName(dest)) return {ERR_WRITEFILE, std::string(dest)};
  std::string destPath = names.ToHostPath(dest);
  struct stat existing;
  if (auto id = in->HostIdentity(); id && stat(destPath.c_str(), &existing) == 0 &&
      *id == FileIdentity{static_cast<uint64_t>(existing.st_dev), static_cast<uint64_t>(existing.st_ino)}) {
    return {ERR_WRONGUSAGE, {}};
  }
  std::unique_ptr<FileStream> out = FileStream::OpenHost(destPath, OpenMode::Write);
  if (!out) return {ERR_WRITEFILE, std::string(dest)};
  if (ErrorCode error = convert(*in, *out, kVxpkMagic)) return {error, {}};
  if (!out->Close()) return {ERR_WRITE, {}};
  if (destSize != nullptr) *destSize = out->Size();
  return {};
}

}  // namespace

ErrorCode ZlibError(int status) {
  switch (status) {
    case Z_DATA_ERROR:
    case Z_NEED_DICT:
      return ERR_ZLIBDATA;
    case Z_STREAM_ERROR:
      return ERR_ZLIBSTREAM;
    case Z_ERRNO:
      return ERR_ZLIBIO;
    case Z_VERSION_ERROR:
      return ERR_ZLIBVERSION;
    case Z_MEM_ERROR:
      return ERR_MEM;
    default:
      return ERR_UNKNOWN;
  }
}

ErrorCode CompressStream(FileStream& in, FileStream& out, std::string_view magic) {
  uint8_t header[kVxpkHeaderSize] = {};
  std::copy(magic.begin(), magic.begin() + std::min<size_t>(magic.size(), 4), header);
  if (ErrorCode error = WriteAll(out, header, sizeof header)) return error;

  z_stream zs{};
  if (int status = deflateInit(&zs, Z_DEFAULT_COMPRESSION); status != Z_OK) return ZlibError(status);
  std::unique_ptr<z_stream, int (*)(z_stream*)> cleanup(&zs, deflateEnd);
  std::vector<uint8_t> input(kZlibBlockSize), output(kZlibBlockSize);
  int flush = Z_NO_FLUSH;
  do {
    size_t got;
    if (ErrorCode error = ReadBlock(in, input, got)) return error;
    flush = in.AtEnd() || got == 0 ? Z_FINISH : Z_NO_FLUSH;
    zs.next_in = input.data();
    zs.avail_in = static_cast<uInt>(got);
    do {
      zs.next_out = output.data();
      zs.avail_out = static_cast<uInt>(output.size());
      int status = deflate(&zs, flush);
      if (status == Z_STREAM_ERROR) return ZlibError(status);
      if (ErrorCode error = WriteAll(out, output.data(), output.size() - zs.avail_out)) return error;
    } while (zs.avail_out == 0);
  } while (flush != Z_FINISH);
  return ERR_NONE;
}

ErrorCode DecompressStream(FileStream& in, FileStream& out, std::string_view magic) {
  uint8_t header[kVxpkHeaderSize];
  if (in.Read(header, sizeof header) != sizeof header ||
      std::string_view(reinterpret_cast<const char*>(header), 4) != magic.substr(0, 4)) {
    return ERR_PAKFORMAT;
  }
  z_stream zs{};
  if (int status = inflateInit(&zs); status != Z_OK) return ZlibError(status);
  std::unique_ptr<z_stream, int (*)(z_stream*)> cleanup(&zs, inflateEnd);
  std::vector<uint8_t> input(kZlibBlockSize), output(kZlibBlockSize);
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    size_t got;
    if (ErrorCode error = ReadBlock(in, input, got)) return error;
    if (got == 0) return ERR_ZLIBDATA;  // the input ended inside the stream
    zs.next_in = input.data();
    zs.avail_in = static_cast<uInt>(got);
    do {
      zs.next_out = output.data();
      zs.avail_out = static_cast<uInt>(output.size());
      status = inflate(&zs, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) return ZlibError(status);
      if (ErrorCode error = WriteAll(out, output.data(), output.size() - zs.avail_out)) return error;
    } while (zs.avail_out == 0 && status != Z_STREAM_END);
  }
  return ERR_NONE;
}

FileError CompressFile(std::string_view source, std::string_view dest, int64_t* destSize) {
  return CompressFile(source, dest, destSize, DefaultFileNamespace());
}

FileError CompressFile(std::string_view source, std::string_view dest, int64_t* destSize,
                       const FileNamespace& names) {
  return ConvertFile(source, dest, destSize, names, CompressStream);
}

FileError DecompressFile(std::string_view source, std::string_view dest, int64_t* destSize) {
  return DecompressFile(source, dest, destSize, DefaultFileNamespace());
}

FileError DecompressFile(std::string_view source, std::string_view dest, int64_t* destSize,
                         const FileNamespace& names) {
  return ConvertFile(source, dest, destSize, names, DecompressStream);
}

}  // namespace tembrovia
