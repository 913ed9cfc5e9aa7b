#include "files/file_attributes.h"

#include <sys/stat.h>

#include <array>
#include <utility>

namespace tembrovia {
namespace {

constexpr std::array<std::pair<uint32_t, mode_t>, 9> kPermissionFlags = {{
    {kFileAttrReadUsr, S_IRUSR},    {kFileAttrWriteUsr, S_IWUSR},    {kFileAttrExecuteUsr, S_IXUSR},
    {kFileAttrReadGrp, S_IRGRP},    {kFileAttrWriteGrp, S_IWGRP},    {kFileAttrExecuteGrp, S_IXGRP},
    {kFileAttrReadOth, S_IROTH},    {kFileAttrWriteOth, S_IWOTH},    {kFileAttrExecuteOth, S_IXOTH},
}};

constexpr mode_t kAllWrite = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

bool IsWriteProtected(mode_t mode) { return (mode & S_IWUSR) == 0; }

uint32_t AttributesFromMode(mode_t mode, std::string_view fileName) {
  uint32_t flags = 0;
  for (auto [flag, bit] : kPermissionFlags) {
    if (mode & bit) flags |= flag;
  }
  if (IsWriteProtected(mode)) flags |= kFileAttrReadOnly;
  if (fileName.starts_with('.') && fileName != "." && fileName != "..") flags |= kFileAttrHidden;
  return flags;
}

mode_t ModeFromAttributes(uint32_t flags, mode_t current) {
  current &= 07777;
  if (flags & kFileAttrNormal) return current | S_IRUSR | S_IWUSR;
  mode_t permissions = 0;
  bool anyPermission = false;
  for (auto [flag, bit] : kPermissionFlags) {
    if (flags & flag) {
      permissions |= bit;
      anyPermission = true;
    }
  }
  mode_t mode = anyPermission ? (current & ~mode_t{0777}) | permissions : current;
  if (flags & kFileAttrReadOnly) {
    mode &= ~(anyPermission ? mode_t{S_IWUSR} : kAllWrite);
  } else if (!anyPermission) {
    mode |= S_IWUSR;
  }
  return mode;
}

}  // namespace tembrovia
