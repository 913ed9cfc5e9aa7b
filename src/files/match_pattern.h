// The wildcard patterns of the file commands (MatchPattern, and the filters of CopyFile and
// DeleteFile). A pattern is a list of alternatives separated by ";"; the text matches when
// one alternative matches all of it. In an alternative:
//   ?        any one character          #   one decimal digit
//   *        any run of characters, including none
//   [set]    one character of the set; "a-z" ranges (lower bound below the upper, not at the
//            set's end), "!" first for the complement, "]" first (after "[" or "[!") is a
//            member; a "[" without a closing "]" stands for itself
//   other    itself (case-sensitive)
// Matching takes time proportional to the product of the lengths at worst; no recursion.
#pragma once

#include <string_view>

namespace tembrovia {

bool MatchPattern(std::string_view text, std::string_view pattern);

}  // namespace tembrovia
