#pragma once

namespace vantrel {

// Where the host runs a windowed Qt application and calls from its GUI thread, the library shows
// its progress windows and its message box there; in any other host (a command-line program, a
// test) it converts without windows and writes its failure message to the standard error stream.
void UseHostWindows();

}  // namespace vantrel
