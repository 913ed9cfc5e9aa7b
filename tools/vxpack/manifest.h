// The packer's manifest: a small text that says what goes into an applet container besides
// the compiled script. See README.md in this folder for the syntax.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tembrovia {

struct ManifestOutcome {
  std::vector<uint8_t> container;  // the plain container
  std::string error;               // "line N: ..." when the manifest is wrong
};

// Builds the plain container. File paths in the manifest are taken relative to
// baseDirectory; the chunk from the command line is used when the manifest names none.
ManifestOutcome BuildContainerFromManifest(std::string_view text, const std::string& baseDirectory,
                                           const std::optional<std::vector<uint8_t>>& chunk);

// The whole content of a file; nullopt when it cannot be read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path);

}  // namespace tembrovia
