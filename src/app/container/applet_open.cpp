#include "app/container/applet_open.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/container/applet_inflate.h"
#include "common/format_error.h"

namespace tembrovia {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

enum class Magic { kNone, kPlain, kCompressed };

// Only a container with more than its four magic bytes is looked at.
Magic ReadMagic(ByteSource& source, uint64_t offset) {
  uint64_t size = source.Size();
  if (offset > size || size - offset <= 4) return Magic::kNone;
  uint8_t b[4];
  if (!source.Read(offset, b, sizeof b)) return Magic::kNone;
  uint32_t value = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
  if (value == kPlainContainerMagic) return Magic::kPlain;
  if (value == kCompressedContainerMagic) return Magic::kCompressed;
  return Magic::kNone;
}

AppletStatus ReadPlain(ByteSource& source, uint64_t offset, std::string_view fileName,
                       AppletRecords& records, DisplayConfig& display,
                       const SectionObserver& observer = {}) {
  if (ReadMagic(source, offset) != Magic::kPlain) {
    return {ERR_NOAPPLET, std::string(LastPathComponent(fileName))};
  }
  ContainerCursor cursor(source, offset);
  cursor.Seek(4);
  return ReadAppletSections(cursor, records, display, observer);
}

std::string NormalisedPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace

AppletStatus OpenAppletContainer(const std::string& path, uint64_t appletOffset,
                                 TemporaryFiles& temporaries, AppletRecords& records,
                                 DisplayConfig& display) {
  std::string containerPath = NormalisedPath(path);
  std::unique_ptr<FileByteSource> source = FileByteSource::Open(containerPath);
  if (!source) return {ERR_FILEEXIST, path};

  if (ReadMagic(*source, appletOffset) == Magic::kCompressed) {
    std::optional<std::string> temporaryPath = temporaries.Create(".vxa");
    if (!temporaryPath) return {ERR_WRITEFILE, {}};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(temporaryPath->c_str(), "wb"));
    if (!file) return {ERR_WRITEFILE, {}};
    FileInflateSink sink(file.get());
    if (ErrorCode error = InflateContainer(*source, appletOffset, sink)) return {error, {}};
    if (std::fclose(file.release()) != 0) return {ERR_WRITE, {}};
    source = FileByteSource::Open(*temporaryPath);
    if (!source) return {ERR_READ, {}};
    containerPath = *temporaryPath;
    appletOffset = 0;
  }

  records.containerPath = containerPath;
  records.appletOffset = appletOffset;
  return ReadPlain(*source, appletOffset, path, records, display);
}

AppletStatus ReadContainerBytes(std::span<const uint8_t> bytes, std::string_view containerPath,
                                size_t inflateLimit, AppletRecords& records,
                                DisplayConfig& display, const SectionObserver& observer) {
  MemoryByteSource source(bytes);
  records.containerPath = std::string(containerPath);
  records.appletOffset = 0;
  if (ReadMagic(source, 0) != Magic::kCompressed) {
    return ReadPlain(source, 0, containerPath, records, display, observer);
  }
  MemoryInflateSink sink(inflateLimit);
  if (ErrorCode error = InflateContainer(source, 0, sink)) return {error, {}};
  MemoryByteSource inflated(sink.Data());
  return ReadPlain(inflated, 0, containerPath, records, display, observer);
}

}  // namespace tembrovia
