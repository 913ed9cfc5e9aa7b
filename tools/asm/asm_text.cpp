#include "asm/asm_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace tembrovia {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string StripComment(const std::string& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted && c == '\\') {
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ';' && !quoted) {
      return line.substr(0, i);
    }
  }
  return line;
}

std::string Trim(const std::string& text) {
  size_t a = text.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  size_t b = text.find_last_not_of(" \t");
  return text.substr(a, b - a + 1);
}

bool IsIdentifier(std::string_view text) {
  if (text.empty()) return false;
  auto head = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!head(text[0])) return false;
  for (char c : text) {
    if (!head(c) && !(c >= '0' && c <= '9') && c != '.') return false;
  }
  return true;
}

size_t FindOutsideQuotes(const std::string& text, std::string_view what) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (quoted && text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && text.compare(i, what.size(), what) == 0) {
      return i;
    }
  }
  return std::string::npos;
}

std::vector<std::string> SplitOperands(const std::string& text, int line) {
  std::vector<std::string> operands;
  if (Trim(text).empty()) return operands;
  std::string current;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted && c == '\\' && i + 1 < text.size()) {
      current += c;
      current += text[++i];
      continue;
    }
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) {
      operands.push_back(Trim(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (quoted) throw std::runtime_error("line " + std::to_string(line) + ": unterminated string");
  operands.push_back(Trim(current));
  return operands;
}

bool UnquoteString(const std::string& token, std::string* out) {
  if (token.size() < 2 || token.front() != '"' || token.back() != '"') return false;
  out->clear();
  for (size_t i = 1; i + 1 < token.size(); ++i) {
    char c = token[i];
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (++i + 1 > token.size() - 1) return false;
    char e = token[i];
    switch (e) {
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      case 't': *out += '\t'; break;
      case '0': *out += '\0'; break;
      case '\\': *out += '\\'; break;
      case '"': *out += '"'; break;
      case 'x': {
        if (i + 2 >= token.size() - 1) return false;
        std::string hex = token.substr(i + 1, 2);
        char* end = nullptr;
        long v = std::strtol(hex.c_str(), &end, 16);
        if (end != hex.c_str() + 2) return false;
        *out += static_cast<char>(v);
        i += 2;
        break;
      }
      default: return false;
    }
  }
  return true;
}

std::string QuoteString(std::string_view bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

bool ParseAsmNumber(const std::string& token, double* out) {
  if (token.empty()) return false;
  if (token.rfind("bits:", 0) == 0) {
    char* end = nullptr;
    uint64_t bits = std::strtoull(token.c_str() + 5, &end, 16);
    if (end == token.c_str() + 5 || *end != '\0') return false;
    std::memcpy(out, &bits, sizeof bits);
    return true;
  }
  if (token == "inf") { *out = INFINITY; return true; }
  if (token == "-inf") { *out = -INFINITY; return true; }
  if (token == "nan") { *out = NAN; return true; }
  const char* p = token.c_str();
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  char* end = nullptr;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    uint64_t v = std::strtoull(p + 2, &end, 16);
    if (end == p + 2 || *end != '\0') return false;
    *out = negative ? -static_cast<double>(v) : static_cast<double>(v);
    return true;
  }
  if (!((*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9'))) return false;
  double v = std::strtod(token.c_str(), &end);
  if (*end != '\0') return false;
  *out = v;
  return true;
}

std::string FormatAsmNumber(double value) {
  if (!std::isfinite(value)) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "bits:%016llX", static_cast<unsigned long long>(bits));
    return buffer;
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

}  // namespace tembrovia
