#include "lib/string/format_str.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <variant>
#include <vector>

#include "lib/string/number_text.h"

namespace tembrovia {
namespace {

// Arguments as a script would pass them: numbers and strings, converted on demand.
class ListArguments : public FormatArguments {
 public:
  using Value = std::variant<double, std::string>;
  explicit ListArguments(std::vector<Value> values) : values_(std::move(values)) {}

  ErrorCode Number(int index, double& value) override {
    if (index >= static_cast<int>(values_.size())) return ERR_NUMEXPECTED;
    if (auto* number = std::get_if<double>(&values_[index])) {
      value = *number;
      return ERR_NONE;
    }
    return ERR_NUMEXPECTED;
  }
  ErrorCode String(int index, std::string& value) override {
    if (index >= static_cast<int>(values_.size())) return ERR_MISSINGPARAMTR;
    if (auto* number = std::get_if<double>(&values_[index])) {
      value = NumberText(*number);
    } else {
      value = std::get<std::string>(values_[index]);
    }
    return ERR_NONE;
  }

 private:
  std::vector<Value> values_;
};

std::string Format(std::string_view format, std::vector<ListArguments::Value> values, ErrorCode* error = nullptr) {
  ListArguments args(std::move(values));
  std::string out;
  ErrorCode result = FormatStr(format, args, out);
  if (error) *error = result;
  return result == ERR_NONE ? out : "<error>";
}

template <class Value>
std::string CLibrary(const char* format, Value value) {
  std::vector<char> buffer(4096);
  int length = std::snprintf(buffer.data(), buffer.size(), format, value);
  return std::string(buffer.data(), static_cast<size_t>(length));
}

// Each conversion against the C library given the argument in the type the letter asks for.
TEST(FormatStr, ConversionsAgreeWithTheCLibrary) {
  struct DoubleCase { const char* format; double value; };
  for (const DoubleCase& c : {DoubleCase{"%f", 3.14159}, DoubleCase{"%5.2f", -3.14159}, DoubleCase{"%-12.3e", 1234.5},
                              DoubleCase{"%+E", 0.000123}, DoubleCase{"%g", 1e-5}, DoubleCase{"%#G", 2.5},
                              DoubleCase{"% 08.3f", 3.5}, DoubleCase{"%.0f", 2.5}, DoubleCase{"%99.99f", 1e308},
                              DoubleCase{"%f", INFINITY}, DoubleCase{"%e", -0.0}}) {
    EXPECT_EQ(Format(c.format, {c.value}), CLibrary(c.format, c.value)) << c.format;
  }
  struct IntCase { const char* format; double value; int as_int; };
  for (const IntCase& c : {IntCase{"%d", 42.9, 42}, IntCase{"%-5i|", -7.5, -7}, IntCase{"%+05d", 3, 3},
                           IntCase{"%c", 65, 65}, IntCase{"%3c", 97, 97},
                           // out of range: the defined 32-bit truncation saturates
                           IntCase{"%d", 3e9, 2147483647}, IntCase{"%d", NAN, 0}}) {
    EXPECT_EQ(Format(c.format, {c.value}), CLibrary(c.format, c.as_int)) << c.format;
  }
  struct UnsignedCase { const char* format; double value; unsigned as_unsigned; };
  for (const UnsignedCase& c : {UnsignedCase{"%x", 255, 255u}, UnsignedCase{"%X", -1, 0xFFFFFFFFu},
                                UnsignedCase{"%#o", 8, 8u}, UnsignedCase{"%u", -2, 0xFFFFFFFEu},
                                UnsignedCase{"%08x", 4294967296.0 + 10, 10u}}) {
    EXPECT_EQ(Format(c.format, {c.value}), CLibrary(c.format, c.as_unsigned)) << c.format;
  }
  for (const char* format : {"%s", "%10s", "%-10s|", "%.2s", "%5.1s"}) {
    EXPECT_EQ(Format(format, {std::string("abc")}), CLibrary(format, "abc")) << format;
  }
}

TEST(FormatStr, MixedFormatAndPercent) {
  EXPECT_EQ(Format("%5.2f|%-3d|%x", {3.14159, 7.0, 255.0}), " 3.14|7  |ff");
  EXPECT_EQ(Format("100%% of %s", {std::string("it")}), "100% of it");
  EXPECT_EQ(Format("no conversions", {}), "no conversions");
  EXPECT_EQ(Format("%s and %s", {1.5, std::string("x")}), "1.5 and x");
  EXPECT_EQ(Format("%c|", {0.0}), std::string("\0|", 2));
}

TEST(FormatStr, LongStringsWithoutPrecisionGoInWhole) {
  std::string long_text(150, 'x');
  long_text[10] = '\0';
  // Width and flags are ignored, and the zero byte is kept.
  EXPECT_EQ(Format("%-99s|", {long_text}), long_text + "|");
  EXPECT_EQ(Format("%.3s", {long_text}), "xxx");
  std::string short_text(98, 'y');
  EXPECT_EQ(Format("%99s", {short_text}), " " + short_text);
}

TEST(FormatStr, QuotedStrings) {
  EXPECT_EQ(Format("%q", {std::string("a\"b")}), "\"a\\\"b\"");
  EXPECT_EQ(Format("%-20.1q", {std::string("a\\\nb\r", 5)}), "\"a\\\\\\\nb\r\"");
  EXPECT_EQ(Format("%q", {std::string("x\0y", 3)}), "\"x\\000y\"");
}

TEST(FormatStr, BadConversionsAndArguments) {
  for (const char* format : {"%123d", "%1.234f", "%k", "%", "abc%", "%5", "%ld", "%-+ #0-+ #0-+ #0-+ #12.3d"}) {
    ErrorCode error = ERR_NONE;
    Format(format, {1.0}, &error);
    EXPECT_EQ(error, ERR_WRONGUSAGE) << format;
  }
  ErrorCode error = ERR_NONE;
  Format("%-+ #0-+ #0-+ #12.3d", {1.0}, &error);  // exactly 20 characters
  EXPECT_EQ(error, ERR_NONE);
  Format("%d %d", {1.0}, &error);
  EXPECT_EQ(error, ERR_NUMEXPECTED);
  Format("%d", {std::string("x")}, &error);
  EXPECT_EQ(error, ERR_NUMEXPECTED);
}

}  // namespace
}  // namespace tembrovia
