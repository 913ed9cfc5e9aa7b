// Virtual file names: a byte range of another file, or a string held by the player, named
// so that it can be passed anywhere a file name goes.
//
//   window: ":::chunk" offset ":" length "*" name "/" host     e.g. ":::chunk1000:500*pic.png/data.bin"
//   string: ":::chunkS" key ":" length "*" name "/" token      (token: the key in lower-case hex)
//
// Numbers are decimal. The part between "*" and the first "/" after it is the visible name
// (messages and loaders use it, for instance for its extension); the host is everything after
// that "/" and may itself contain "/". A string file's key indexes the table of defined strings
// (FileNamespace): it is never a memory address, so a script cannot forge a way into memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tembrovia {

inline constexpr std::string_view kVirtualPrefix = ":::chunk";

enum class VirtualKind { Window, String };

struct VirtualName {
  VirtualKind kind = VirtualKind::Window;
  uint64_t offset = 0;        // window: byte offset in the host; string: the key
  uint64_t length = 0;        // byte count
  std::string_view visibleName;
  std::string_view host;      // window: host file name; string: the hexadecimal token
};

// True for every name in the virtual namespace, well-formed or not (such names never reach
// the host file system).
bool IsVirtualName(std::string_view name);

// Splits a virtual name; nullopt when it is malformed (numbers missing or above 2^63-1,
// separators missing, empty host or token). The views point into `name`.
std::optional<VirtualName> ParseVirtualName(std::string_view name);

// ":::chunk<offset>:<length>*<visible>/<host>": how files inside the applet and windows made
// by scripts are named. Only the last path component of `visibleName` is kept.
std::string MakeWindowName(uint64_t offset, uint64_t length, std::string_view visibleName,
                           std::string_view host);

// ":::chunkS<key>:<length>*<visible>/<token>".
std::string MakeStringFileName(uint64_t key, uint64_t length, std::string_view visibleName);

// The token of a string file: its key in lower-case hexadecimal.
std::string StringFileToken(uint64_t key);

}  // namespace tembrovia
