// Lexical pieces of the assembly text shared by the assembler and the disassembler: string
// and number literals in both directions, comments, operand lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tembrovia {

std::vector<std::string> SplitLines(std::string_view text);
std::string StripComment(const std::string& line);  // from ";" outside a string literal
std::string Trim(const std::string& text);
bool IsIdentifier(std::string_view text);
size_t FindOutsideQuotes(const std::string& text, std::string_view what);
// Comma-separated operands; throws std::runtime_error on an unterminated string.
std::vector<std::string> SplitOperands(const std::string& text, int line);

// "..." with \n \r \t \0 \\ \" and \xHH escapes.
bool UnquoteString(const std::string& token, std::string* out);
std::string QuoteString(std::string_view bytes);

// Decimal or 0x hexadecimal numbers, "inf", "-inf", "nan", and "bits:HEX" for an exact
// double bit pattern.
bool ParseAsmNumber(const std::string& token, double* out);
// A text that ParseAsmNumber reads back to exactly the same double.
std::string FormatAsmNumber(double value);

}  // namespace tembrovia
