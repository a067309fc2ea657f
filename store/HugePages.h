#pragma once
#include <cstddef>

// The decoded text of a file is large and is written once, front to back. With 4 kB pages every
// page costs a fault; asking the kernel for 2 MB pages where a range holds whole ones makes that
// a few hundred times fewer. Advice only: what the memory holds is the same either way.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// Asks for huge pages over the whole 2 MB pages inside [p, p + bytes); nothing for less.
void AdviseHugePages(void* p, std::size_t bytes);
