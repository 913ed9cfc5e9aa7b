// GetVolumeName and GetVolumeInfo: the file system holding a path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tembrovia {

class FileNamespace;

// The label of the file system holding the path when the system knows one (by-label
// device links), else the last component of its mount point ("/" for the root). nullopt
// when the path does not exist.
std::optional<std::string> VolumeName(std::string_view path);
std::optional<std::string> VolumeName(std::string_view path, const FileNamespace& names);

// What GetVolumeInfo reports (#USEDSPACE, #FREESPACE).
inline constexpr int kUsedSpace = 0;
inline constexpr int kFreeSpace = 1;

struct VolumeSpace {
  uint64_t freeBytes = 0;  // available to unprivileged users
  uint64_t usedBytes = 0;  // total minus free
};
std::optional<VolumeSpace> VolumeSpaceOf(std::string_view path);
std::optional<VolumeSpace> VolumeSpaceOf(std::string_view path, const FileNamespace& names);

}  // namespace tembrovia
