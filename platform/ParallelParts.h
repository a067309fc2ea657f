#pragma once
#include <cstddef>
#include <functional>

namespace platform {

// How many parts a large piece of work is worth splitting into on this machine: the cores it
// may use, at least 1 and at most 8 (more threads gain little on loads of a few tens of MB).
std::size_t UsefulParts();

// Runs part(0) .. part(count - 1), each on a thread of its own but part(0), which runs on the
// calling thread, and returns when all have ended. The first exception by part index is thrown
// again once all have ended; the others are dropped. A thread that cannot be started has its
// part run on the calling thread instead.
void RunParts(std::size_t count, const std::function<void(std::size_t)>& part);

}  // namespace platform
