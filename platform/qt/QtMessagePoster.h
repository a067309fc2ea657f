#pragma once

namespace platform {

// Makes the message hub's posted messages travel on the Qt event loop: each is delivered from
// the loop after the handler that posted it has returned. A failure in a delivered handler is
// shown in the default error box, so no exception crosses the loop.
void InstallQtMessagePoster();

}  // namespace platform
