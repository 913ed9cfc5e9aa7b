// Reading named options from a table argument ({Width = 100, Height = "50%"} arrives with
// lower-case keys). Each helper looks up the field `name` (lower case) of the table at stack
// index `table`; a missing or Nil field leaves *value untouched and returns false ("not
// set"); a present field is converted and returns true, or raises its error with the field
// name as the message's text.
#pragma once

#include <cstdint>
#include <string>

#include "vm/api.h"

namespace tembrovia {

// A number or a numeric string. ERR_NUMTABLEARG.
bool OptFieldNumber(VMState* state, int table, const char* name, double* value);
bool OptFieldInteger(VMState* state, int table, const char* name, int32_t* value);

// A string or a number. ERR_STRTABLEARG.
bool OptFieldString(VMState* state, int table, const char* name, std::string* value);

// A number, or a string holding a number or a percentage "n%" (0..100, more when
// allowOver100), which is returned negated (-n) so that callers tell it from pixels.
// ERR_PERCENTFORMATSTR.
bool OptFieldSize(VMState* state, int table, const char* name, bool allowOver100, double* value);

struct NumberOrPointer {
  double number = 0;
  void* pointer = nullptr;
  bool is_pointer = false;
};
// A number, or a light userdata returned as a pointer. ERR_NUMTABLEARG.
bool OptFieldNumberOrPointer(VMState* state, int table, const char* name, NumberOrPointer* value);

// A layer: its number, or the name of a layer of the current BGPic (case-insensitive;
// ERR_FINDLAYER with the name when there is none). Other types: ERR_WRONGUSAGE.
bool OptFieldLayer(VMState* state, int table, const char* name, int32_t* value);

}  // namespace tembrovia
