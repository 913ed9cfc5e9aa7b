// The start-up banner: the player's name, version and platform, and what it is.
#pragma once

#include <string>

namespace tembrovia {

constexpr const char* kPlayerName = "TembroviaPlayer";
constexpr int kPlayerVersion = 5;
constexpr int kPlayerRevision = 2;
constexpr const char* kPlatformTag = "[Linux]";

// Three lines: name, version and platform; the one-line description; an empty line.
std::string BannerText();

}  // namespace tembrovia
