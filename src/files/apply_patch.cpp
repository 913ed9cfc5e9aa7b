#include "files/apply_patch.h"

#include "files/file_handle.h"

namespace tembrovia {

ErrorCode ApplyPatch(FileHandle& patch, FileHandle& source, FileHandle& dest, const PatchProgress& progress) {
  int64_t total = patch.Remaining();
  if (total == 0) return ERR_NONE;
  double step = 100.0 / static_cast<double>(total);
  double done = 0;
  int reported = 0;
  for (int64_t i = 0; i < total; ++i) {
    uint8_t p;
    if (ErrorCode error = patch.ReadChr(p)) return error;
    uint8_t out = static_cast<uint8_t>(~p);
    if (!source.Eof()) {
      uint8_t s;
      if (ErrorCode error = source.ReadChr(s)) return error;
      out = p ^ s;
    }
    if (ErrorCode error = dest.Write(&out, 1)) return error;
    done += step;
    int percent = static_cast<int>(done);
    if (percent != reported) {
      reported = percent;
      if (progress.onProgress) {
        if (ErrorCode error = progress.onProgress(percent).error) return error;
      }
    }
    if (progress.shouldStop && progress.shouldStop()) return ERR_NONE;
  }
  return ERR_NONE;
}

}  // namespace tembrovia
