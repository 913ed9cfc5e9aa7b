#include "app/container/record_layout.h"

#include <array>
#include <cstring>

#include "app/config/display_config.h"

namespace tembrovia {
namespace {

using C = FieldCodec;
using R = AppletObject;
constexpr AppletVersion kAlways{0, 0};

constexpr FieldSpec kBGPicFields[] = {
    {"fillstyle", C::kByte, {4, 7}, &R::fillStyle},
    {"fillcolor", C::kInt32, {4, 7}, &R::fillColor},
    {"gradientendcolor", C::kInt32, {4, 7}, &R::gradientEndColor},
    {"gradientangle", C::kInt16, {4, 7}, &R::gradientAngle},
    {"texturebrush", C::kInt32, {4, 7}, &R::textureBrush},
    {"texturex", C::kInt32, {4, 7}, &R::textureX},
    {"texturey", C::kInt32, {4, 7}, &R::textureY},
    {"gradient", C::kGradient, {5, 0}},
};

constexpr FieldSpec kBrushFields[] = {
    {"width", C::kInt16, kAlways, &R::width},
    {"height", C::kInt16, kAlways, &R::height},
    {"x", C::kInt16, kAlways, &R::x},
    {"y", C::kInt16, kAlways, &R::y},
    {"globalalpha", C::kInt16, kAlways, &R::globalAlpha},
    {"hardware", C::kByte, {5, 0}, &R::hardware},
};

constexpr FieldSpec kAnimFields[] = {
    {"fromdisk", C::kByte, {3, 0}, &R::fromDisk},
    {"width", C::kInt16, {4, 1}, &R::width},
    {"height", C::kInt16, {4, 1}, &R::height},
    {"frames", C::kInt16, {4, 1}, &R::frames},
    {"fpr", C::kInt16, {4, 1}, &R::framesPerRow},
    {"x", C::kInt16, {4, 1}, &R::x},
    {"y", C::kInt16, {4, 1}, &R::y},
};

constexpr FieldSpec kButtonFields[] = {
    {"x1", C::kInt16, kAlways, &R::x1},
    {"y1", C::kInt16, kAlways, &R::y1},
    {"x2", C::kInt16, kAlways, &R::x2},
    {"y2", C::kInt16, kAlways, &R::y2},
};

constexpr FieldSpec kSpriteFields[] = {
    {"width", C::kInt16, kAlways, &R::width},
    {"height", C::kInt16, kAlways, &R::height},
    {"frames", C::kInt16, kAlways, &R::frames},
    {"fpr", C::kInt16, kAlways, &R::framesPerRow},
    {"x", C::kInt16, kAlways, &R::x},
    {"y", C::kInt16, kAlways, &R::y},
};

constexpr FieldSpec kDisplayFields[] = {
    {"bgpic", C::kInt32, kAlways, &R::bgpicId},
    {"x", C::kInt32, kAlways, &R::x},
    {"y", C::kInt32, kAlways, &R::y},
    {"width", C::kInt32, kAlways, &R::width},
    {"height", C::kInt32, kAlways, &R::height},
    {"color", C::kInt32, kAlways, &R::fillColor},
    {"flags", C::kInt32, kAlways, &R::flags},
    {"givenflags", C::kInt32, kAlways, &R::givenFlags},
    {"scalewidth", C::kInt32, kAlways, &R::scaleWidth},
    {"scaleheight", C::kInt32, kAlways, &R::scaleHeight},
    {"dragregion", C::kDragRegions, kAlways},
    {"sizeregion", C::kSizeRegions, kAlways},
    {"title", C::kTitle, kAlways},
    {"fillstyle", C::kByte, {4, 7}, &R::fillStyle},
    {"gradientendcolor", C::kInt32, {4, 7}, &R::gradientEndColor},
    {"gradientangle", C::kInt16, {4, 7}, &R::gradientAngle},
    {"texturebrush", C::kInt32, {4, 7}, &R::textureBrush},
    {"texturex", C::kInt32, {4, 7}, &R::textureX},
    {"texturey", C::kInt32, {4, 7}, &R::textureY},
    {"gradient", C::kGradient, {5, 0}},
    {"pubscreen", C::kPubScreen, {5, 2}},
};

constexpr std::array<ObjectLayout, kLastObjectType + 1> kObjectLayouts = {{
    {kObjectBGPic, "bgpic", kBGPicFields},
    {kObjectBrush, "brush", kBrushFields},
    {kObjectAnim, "anim", kAnimFields},
    {kObjectMusic, "music", {}},
    {kObjectSample, "sample", {}},
    {kObjectButton, "button", kButtonFields},
    {kObjectKeyHandler, "keydown", {}},
    {kObjectSprite, "sprite", kSpriteFields},
    {kObjectFile, "file", {}},
    {kObjectFont, "font", {}},
    {kObjectDisplay, "display", kDisplayFields},
    {kObjectVideo, "video", {}},
    {kObjectPluginRequirement, "plugin", {}},
}};

}  // namespace

const std::array<GradientField, 4> kGradientFractions = {{
    {"gradientcenterx", &GradientRecord::centerX},
    {"gradientcentery", &GradientRecord::centerY},
    {"gradientbalance", &GradientRecord::balance},
    {"gradientborder", &GradientRecord::border},
}};

const std::array<int32_t RegionRecord::*, 5> kRegionFields = {
    &RegionRecord::type, &RegionRecord::x, &RegionRecord::y, &RegionRecord::width,
    &RegionRecord::height};

const ObjectLayout* FindObjectLayout(uint8_t type) {
  return type <= kLastObjectType ? &kObjectLayouts[type] : nullptr;
}

const ObjectLayout* FindObjectLayout(const char* name) {
  for (const ObjectLayout& layout : kObjectLayouts) {
    if (std::strcmp(layout.name, name) == 0) return &layout;
  }
  return nullptr;
}

std::span<const ObjectLayout> AllObjectLayouts() { return kObjectLayouts; }

AppletObject DefaultDisplayRecord() {
  AppletObject record;
  record.type = kObjectDisplay;
  record.id = 1;
  record.title = "Tembrovia";
  record.width = 640;
  record.height = 480;
  record.x = kPositionCentered;
  record.y = kPositionCentered;
  record.fillStyle = kBackfillColor;
  record.fillColor = 0;
  record.flags = kDisplayActive;
  return record;
}

}  // namespace tembrovia
