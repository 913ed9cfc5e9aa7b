// The type numbers scripts see (GetType and the #NIL ... #THREAD constants), and the
// data-size constants other libraries take as widths.
#pragma once

#include <array>

#include "lib/core/library_table.h"
#include "lib/math/data_width.h"
#include "vm/api.h"

namespace tembrovia {

enum ScriptType : int {
  kScriptNil = 0,
  kScriptNumber = 2,
  kScriptString = 3,
  kScriptTable = 4,
  kScriptFunction = 5,
  kScriptUserdata = 8,
  kScriptLightUserdata = 9,
  kScriptThread = 10,
  kScriptOther = 255,  // booleans and anything else
};

constexpr int ScriptTypeOf(int tag) {
  switch (tag) {
    case TagNil: return kScriptNil;
    case TagNumber: return kScriptNumber;
    case TagString: return kScriptString;
    case TagTable: return kScriptTable;
    case TagFunction: return kScriptFunction;
    case TagUserdata: return kScriptUserdata;
    case TagLightUserdata: return kScriptLightUserdata;
    case TagThread: return kScriptThread;
    default: return kScriptOther;
  }
}

inline constexpr std::array<ConstantEntry, 14> kTypeConstants{{
    {"NIL", nullptr, kScriptNil},
    {"NUMBER", nullptr, kScriptNumber},
    {"STRING", nullptr, kScriptString},
    {"TABLE", nullptr, kScriptTable},
    {"FUNCTION", nullptr, kScriptFunction},
    {"USERDATA", nullptr, kScriptUserdata},
    {"LIGHTUSERDATA", nullptr, kScriptLightUserdata},
    {"THREAD", nullptr, kScriptThread},
    {"INTEGER", nullptr, kWidthInteger},
    {"LONG", nullptr, kWidthInteger},
    {"FLOAT", nullptr, kWidthInteger},
    {"SHORT", nullptr, kWidthShort},
    {"WORD", nullptr, kWidthShort},
    {"BYTE", nullptr, kWidthByte},
}};

}  // namespace tembrovia
