#pragma once
#include <string_view>

#include "platform/ChmReaderFrames.h"

namespace platform {

// Checks the header and the directory of a compiled help file before any decoder sees it: the
// headers lie inside the file, every chunk named lies inside the directory, the chain of listing
// chunks and the tree of index chunks end (no chunk leads back to one already passed), and every
// entry's lengths lie inside its chunk. None when the file may be handed to the decoder.
TChmRefusal CheckChmDirectory(std::string_view file);

}  // namespace platform
