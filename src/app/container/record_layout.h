// The layouts of the object records: for every object type, its type-specific fields in
// file order with the format version that introduced each. The reader, the writer and the
// packer's manifest all walk these tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "app/container/applet_format.h"
#include "app/container/applet_records.h"

namespace tembrovia {

enum class FieldCodec : uint8_t {
  kByte,
  kInt16,
  kInt32,
  kGradient,     // style, four fractions, colour stops
  kDragRegions,  // int32 count, then five int32 per region
  kSizeRegions,
  kTitle,        // int16 length and the bytes
  kPubScreen,
};

struct FieldSpec {
  const char* key;  // the name the manifest uses
  FieldCodec codec;
  AppletVersion since;  // present from this format version on
  int32_t AppletObject::*member = nullptr;  // the scalar codecs
};

struct ObjectLayout {
  AppletObjectType type;
  const char* name;  // the manifest keyword
  std::span<const FieldSpec> fields;
};

// The layout of an object type; null for a type the format does not know.
const ObjectLayout* FindObjectLayout(uint8_t type);
// By manifest keyword.
const ObjectLayout* FindObjectLayout(const char* name);
std::span<const ObjectLayout> AllObjectLayouts();

// The gradient record's fields after its style byte, in file order.
struct GradientField {
  const char* key;
  int32_t GradientRecord::*member;
};
extern const std::array<GradientField, 4> kGradientFractions;

// The five int32 of a region record, in file order.
extern const std::array<int32_t RegionRecord::*, 5> kRegionFields;

}  // namespace tembrovia
