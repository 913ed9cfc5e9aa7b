// Libraries whose folder does not supply a table yet: registered by name with no commands,
// so the command export tells the truth. A library folder that defines its own table
// removes its line here.
#include "lib/core/library_table.h"

namespace tembrovia {

const LibraryTable kGraphicsLibrary{"graphics"};
const LibraryTable kDrawLibrary{"draw"};
const LibraryTable kMoveObjectLibrary{"moveobject"};
const LibraryTable kEventLibrary{"event"};
const LibraryTable kLayersLibrary{"layers"};
const LibraryTable kTextLibrary{"text"};
const LibraryTable kAnimLibrary{"anim"};
const LibraryTable kDisplayLibrary{"display"};
const LibraryTable kSoundLibrary{"sound"};
const LibraryTable kBrushLibrary{"brush"};
const LibraryTable kBgPicLibrary{"bgpic"};
const LibraryTable kTransitionFxLibrary{"transitionfx"};
const LibraryTable kSpriteLibrary{"sprite"};
const LibraryTable kVectorGraphicsLibrary{"vectorgraphics"};
const LibraryTable kNetworkLibrary{"network"};
const LibraryTable kVideoLibrary{"video"};

}  // namespace tembrovia
