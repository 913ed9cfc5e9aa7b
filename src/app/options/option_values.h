// The options array: what the command line and then the settings file gave each option.
#pragma once

#include <array>
#include <string>

#include "app/options/option_table.h"

namespace tembrovia {

struct OptionValue {
  bool set = false;
  std::string value;  // for options that take one
};

struct OptionValues {
  std::array<OptionValue, kOptionSlotCount> slots;

  OptionValue& operator[](OptionSlot slot) { return slots[slot]; }
  const OptionValue& operator[](OptionSlot slot) const { return slots[slot]; }
};

}  // namespace tembrovia
