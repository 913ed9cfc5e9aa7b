#include "lib/string/string_edit.h"

#include <algorithm>

#include "lib/string/string_limits.h"

namespace tembrovia {
namespace {

size_t Clip(int64_t n, size_t limit) {
  if (n <= 0) return 0;
  return static_cast<uint64_t>(n) < limit ? static_cast<size_t>(n) : limit;
}

}  // namespace

std::string_view LeftStr(std::string_view s, int64_t n) { return s.substr(0, Clip(n, s.size())); }

std::string_view RightStr(std::string_view s, int64_t n) {
  return s.substr(s.size() - Clip(n, s.size()));
}

ErrorCode MidStr(std::string_view s, int64_t pos, int64_t len, std::string_view& out) {
  if (pos < 0) return ERR_WRONGUSAGE;
  size_t start = Clip(pos, s.size());
  out = s.substr(start, Clip(len, s.size() - start));
  return ERR_NONE;
}

ErrorCode UnleftStr(std::string_view s, int64_t n, std::string_view& out) {
  if (n < 0) return ERR_WRONGUSAGE;
  out = s.substr(0, s.size() - Clip(n, s.size()));
  return ERR_NONE;
}

ErrorCode UnrightStr(std::string_view s, int64_t n, std::string_view& out) {
  if (n < 0) return ERR_WRONGUSAGE;
  out = s.substr(Clip(n, s.size()));
  return ERR_NONE;
}

ErrorCode UnmidStr(std::string_view s, int64_t pos, int64_t len, std::string& out) {
  if (pos < 0 || len < 0) return ERR_WRONGUSAGE;
  size_t start = Clip(pos, s.size());
  size_t removed = Clip(len, s.size() - start);
  out.assign(s.substr(0, start));
  out.append(s.substr(start + removed));
  return ERR_NONE;
}

ErrorCode InsertStr(std::string_view s, std::string_view ins, int64_t pos, bool overwrite,
                    std::string& out) {
  if (pos < 0) return ERR_WRONGUSAGE;
  if (s.size() + ins.size() > kMaxStringLength) return ERR_MEM;
  size_t at = Clip(pos, s.size());
  size_t resume = overwrite ? std::min(s.size(), at + ins.size()) : at;
  return CatchOutOfMemory([&] {
    out.assign(s.substr(0, at));
    out.append(ins);
    out.append(s.substr(resume));
    return ERR_NONE;
  });
}

ErrorCode TrimStr(std::string_view s, std::string_view ch, bool from_right, std::string_view& out) {
  if (ch.size() != 1) return ERR_WRONGUSAGE;
  if (from_right) {
    size_t end = s.find_last_not_of(ch[0]);
    out = end == std::string_view::npos ? s.substr(0, 0) : s.substr(0, end + 1);
  } else {
    size_t start = s.find_first_not_of(ch[0]);
    out = start == std::string_view::npos ? s.substr(s.size()) : s.substr(start);
  }
  return ERR_NONE;
}

ErrorCode SplitStr(std::string_view s, std::string_view sep, std::vector<std::string_view>& pieces) {
  if (sep.size() != 1) return ERR_WRONGUSAGE;
  pieces.clear();
  size_t start = 0;
  for (size_t at; (at = s.find(sep[0], start)) != std::string_view::npos; start = at + 1) {
    pieces.push_back(s.substr(start, at - start));
  }
  pieces.push_back(s.substr(start));
  return ERR_NONE;
}

ErrorCode RepeatStr(std::string_view s, int64_t count, std::string& out) {
  if (count <= 0) return ERR_WRONGUSAGE;
  if (!s.empty() && static_cast<uint64_t>(count) > kMaxStringLength / s.size()) return ERR_MEM;
  return CatchOutOfMemory([&] {
    out.clear();
    out.reserve(s.size() * static_cast<size_t>(count));
    for (int64_t i = 0; i < count && !s.empty(); ++i) out.append(s);
    return ERR_NONE;
  });
}

ErrorCode Chr(int64_t code, std::string& out) {
  if (code < 0 || code > 255) return ERR_WRONGUSAGE;
  out = code == 0 ? std::string() : std::string(1, static_cast<char>(code));
  return ERR_NONE;
}

int Asc(std::string_view s) { return s.empty() ? 0 : static_cast<unsigned char>(s[0]); }

}  // namespace tembrovia
