#include "common/latin1_case.h"

namespace tembrovia {
namespace {

constexpr bool HasLowerForm(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDD && c != 0xD7);
}

constexpr std::array<unsigned char, 256> MakeLower() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(HasLowerForm(c) ? c + 0x20 : c);
  return table;
}

constexpr std::array<unsigned char, 256> MakeUpper() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 0; c < 256; ++c) {
    if (HasLowerForm(c)) table[c + 0x20] = static_cast<unsigned char>(c);
  }
  return table;
}

}  // namespace

const std::array<unsigned char, 256> kLatin1Lower = MakeLower();
const std::array<unsigned char, 256> kLatin1Upper = MakeUpper();

std::string Latin1Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Latin1ToLower(c);
  return out;
}

std::string Latin1Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Latin1ToUpper(c);
  return out;
}

bool Latin1EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Latin1ToLower(a[i]) != Latin1ToLower(b[i])) return false;
  }
  return true;
}

}  // namespace tembrovia
