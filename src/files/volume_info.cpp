#include "files/volume_info.h"

#include <dirent.h>
#include <mntent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cctype>
#include <memory>

#include "files/file_namespace.h"
#include "files/path_parts.h"

namespace tembrovia {
namespace {

// Labels in /dev/disk/by-label escape some bytes as "\xNN".
std::string UnescapeLabel(std::string_view escaped) {
  std::string label;
  for (size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == '\\' && i + 3 < escaped.size() && escaped[i + 1] == 'x' &&
        std::isxdigit(static_cast<unsigned char>(escaped[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(escaped[i + 3]))) {
      label += static_cast<char>(std::stoi(std::string(escaped.substr(i + 2, 2)), nullptr, 16));
      i += 3;
    } else {
      label += escaped[i];
    }
  }
  return label;
}

std::optional<std::string> LabelOf(dev_t device) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir("/dev/disk/by-label"), closedir);
  if (!dir) return std::nullopt;
  while (dirent* entry = readdir(dir.get())) {
    std::string link = std::string("/dev/disk/by-label/") + entry->d_name;
    struct stat info;
    if (entry->d_name[0] != '.' && stat(link.c_str(), &info) == 0 && S_ISBLK(info.st_mode) &&
        info.st_rdev == device) {
      return UnescapeLabel(entry->d_name);
    }
  }
  return std::nullopt;
}

std::optional<std::string> MountPointOf(dev_t device) {
  std::unique_ptr<FILE, int (*)(FILE*)> mounts(setmntent("/proc/self/mounts", "r"), endmntent);
  if (!mounts) return std::nullopt;
  std::optional<std::string> found;
  struct mntent entry;
  char buffer[4096];
  while (getmntent_r(mounts.get(), &entry, buffer, sizeof buffer) != nullptr) {
    struct stat info;
    if (stat(entry.mnt_dir, &info) == 0 && info.st_dev == device) found = entry.mnt_dir;
  }
  return found;
}

}  // namespace

std::optional<std::string> VolumeName(std::string_view path) { return VolumeName(path, DefaultFileNamespace()); }

std::optional<std::string> VolumeName(std::string_view path, const FileNamespace& names) {
  struct stat info;
  if (stat(names.ToHostPath(path).c_str(), &info) != 0) return std::nullopt;
  if (auto label = LabelOf(info.st_dev)) return label;
  std::string mountPoint = MountPointOf(info.st_dev).value_or("/");
  std::string_view name = FilePart(mountPoint);
  return name.empty() ? std::string("/") : std::string(name);
}

std::optional<VolumeSpace> VolumeSpaceOf(std::string_view path) { return VolumeSpaceOf(path, DefaultFileNamespace()); }

std::optional<VolumeSpace> VolumeSpaceOf(std::string_view path, const FileNamespace& names) {
  struct statvfs info;
  if (statvfs(names.ToHostPath(path).c_str(), &info) != 0) return std::nullopt;
  uint64_t total = uint64_t{info.f_blocks} * info.f_frsize;
  uint64_t free = uint64_t{info.f_bavail} * info.f_frsize;
  return VolumeSpace{free, total > free ? total - free : 0};
}

}  // namespace tembrovia
