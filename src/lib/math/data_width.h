// The data-size constants that several libraries take as a width argument.
#pragma once

#include <cstdint>

namespace tembrovia {

enum DataWidth : int {
  kWidthInteger = 1,  // #INTEGER, #LONG: 32 bits
  kWidthShort = 6,    // #SHORT, #WORD: 16 bits
  kWidthByte = 7,     // #BYTE: 8 bits
};

// The number of bits of a width constant; 0 for any other value.
constexpr int WidthBits(int64_t width) {
  switch (width) {
    case kWidthInteger: return 32;
    case kWidthShort: return 16;
    case kWidthByte: return 8;
    default: return 0;
  }
}

}  // namespace tembrovia
