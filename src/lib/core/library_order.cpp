#include "lib/core/library_table.h"

namespace tembrovia {
namespace {

// The registration order, which is also the order of the command export.
constexpr const LibraryTable* kLibraryOrder[] = {
    &kStringLibrary,  &kMathLibrary,         &kGraphicsLibrary, &kDrawLibrary,
    &kMoveObjectLibrary, &kDosLibrary,       &kEventLibrary,    &kSystemLibrary,
    &kLayersLibrary,  &kTextLibrary,         &kAnimLibrary,     &kDisplayLibrary,
    &kSoundLibrary,   &kBrushLibrary,        &kBgPicLibrary,    &kTransitionFxLibrary,
    &kSpriteLibrary,  &kMemBlockLibrary,     &kVectorGraphicsLibrary, &kNetworkLibrary,
    &kVideoLibrary,
};
static_assert(std::size(kLibraryOrder) == kLibraryCount);

}  // namespace

std::span<const LibraryTable* const> LibraryOrder() { return kLibraryOrder; }

}  // namespace tembrovia
