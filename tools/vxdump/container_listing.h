// Container listings for vxdump: the sections of an applet container in file order, its
// objects and other records, the display settings it carries, and its script disassembled.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tembrovia {

struct ContainerListing {
  std::string text;
  std::string error;  // the player's message for a container it would refuse
  bool ok() const { return error.empty(); }
};

// Whether the bytes look like a container ("VXA" or "VXZ") or a player program with an
// applet appended, rather than a bare chunk.
bool LooksLikeContainer(std::span<const uint8_t> bytes);

// Lists a container, plain or compressed, or the applet appended to a player program.
ContainerListing ListContainer(std::span<const uint8_t> bytes, std::string_view path);

}  // namespace tembrovia
