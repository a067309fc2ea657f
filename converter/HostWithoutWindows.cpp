// The library built without windows: every host gets the conversion without them.
#include "converter/HostWindows.h"

namespace vantrel {

void UseHostWindows() {}

}  // namespace vantrel
