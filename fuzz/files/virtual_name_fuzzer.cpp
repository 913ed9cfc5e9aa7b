// The virtual-name parser and the opening of virtual names (windows over string files and
// over other windows) on arbitrary names.
#include <cstdlib>
#include <string>

#include "files/file_namespace.h"
#include "files/file_stream.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"

using namespace tembrovia;

namespace {

const FileNamespace& Names() {
  static FileNamespace names;
  static const bool filled = [] {
    names.DefineStringFile("0123456789", "ten.txt");  // ":::chunkS1:10*ten.txt/1"
    names.DefineStringFile("", "empty");              // ":::chunkS2:0*empty/2"
    names.RegisterLinkedFile({"linked", ":::chunkS1:10*ten.txt/1", 3, 5});
    return true;
  }();
  (void)filled;
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FileNamespace& names = Names();
  std::string name(reinterpret_cast<const char*>(data), size);
  auto parsed = ParseVirtualName(name);
  if (parsed) {
    if (!IsVirtualName(name)) std::abort();
    // A window name made from the parts parses back to the same parts.
    if (parsed->kind == VirtualKind::Window && parsed->visibleName.find('\\') == std::string_view::npos) {
      std::string again = MakeWindowName(parsed->offset, parsed->length, parsed->visibleName, parsed->host);
      auto reparsed = ParseVirtualName(again);
      if (!reparsed || reparsed->offset != parsed->offset || reparsed->length != parsed->length ||
          reparsed->visibleName != parsed->visibleName || reparsed->host != parsed->host) {
        std::abort();
      }
    }
    FilePart(name);
  }
  // Only virtual names are opened: the fuzzer must not touch real files.
  if (IsVirtualName(name)) {
    auto stream = FileStream::Open(name, OpenMode::Read, names);
    if (stream && stream->InMemory()) {
      char buffer[32];
      stream->Seek(static_cast<int64_t>(size) - 20, SeekOrigin::Current);
      while (stream->Read(buffer, sizeof buffer) > 0) {
      }
      if (stream->Position() > stream->Size()) std::abort();
    }
  }
  return 0;
}
