// The #FILEATTR_* flags and how they map onto host permission bits, both ways:
//   - the nine READ/WRITE/EXECUTE _USR/_GRP/_OTH flags are the rwx permission bits;
//   - #FILEATTR_READONLY is reported when the owner may not write; setting it clears every
//     write bit;
//   - #FILEATTR_HIDDEN is reported for names starting with "." (it cannot be set);
//   - #FILEATTR_NORMAL, when set, overrides every other flag: the file becomes readable and
//     writable by its owner, other bits unchanged. It is never reported;
//   - flags given without any of the nine permission flags keep the current permission bits
//     and only apply READONLY (clearing the write bits) or its absence (owner may write),
//     so a script that sets #FILEATTR_ARCHIVE or #FILEATTR_READONLY alone does not make the
//     file unreadable;
//   - DELETE_USR, PURE, ARCHIVE, SCRIPT and SYSTEM have no host counterpart: ignored, never
//     reported.
// Setting what was read leaves the permission bits as they were.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string_view>

namespace tembrovia {

inline constexpr uint32_t kFileAttrReadUsr = 1;
inline constexpr uint32_t kFileAttrWriteUsr = 2;
inline constexpr uint32_t kFileAttrDeleteUsr = 4;
inline constexpr uint32_t kFileAttrExecuteUsr = 8;
inline constexpr uint32_t kFileAttrPure = 16;
inline constexpr uint32_t kFileAttrArchive = 32;
inline constexpr uint32_t kFileAttrScript = 64;
inline constexpr uint32_t kFileAttrHidden = 128;
inline constexpr uint32_t kFileAttrSystem = 256;
inline constexpr uint32_t kFileAttrReadGrp = 512;
inline constexpr uint32_t kFileAttrWriteGrp = 1024;
inline constexpr uint32_t kFileAttrExecuteGrp = 2048;
inline constexpr uint32_t kFileAttrReadOth = 4096;
inline constexpr uint32_t kFileAttrWriteOth = 8192;
inline constexpr uint32_t kFileAttrExecuteOth = 16384;
inline constexpr uint32_t kFileAttrReadOnly = 32768;
inline constexpr uint32_t kFileAttrNormal = 65536;

// The flags reported for a file with these permission bits and this name.
uint32_t AttributesFromMode(mode_t mode, std::string_view fileName);
// The permission bits (07777 part) to give a file whose bits are `current`.
mode_t ModeFromAttributes(uint32_t flags, mode_t current);
// What the copy and delete commands call write-protected: the owner may not write.
bool IsWriteProtected(mode_t mode);

}  // namespace tembrovia
