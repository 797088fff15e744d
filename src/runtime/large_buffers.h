// How the process's heap serves the large buffers of the signal path: recordings decoded to
// doubles and their resampled and transformed forms, tens of MB per evaluation.
#pragma once

#include <cstddef>

namespace rt {

// Makes every block come from the main heap and keeps up to `keepBytes` freed at its top
// with the process, so that a later evaluation reuses memory instead of having the kernel map
// and zero fresh pages for each buffer (the C library otherwise maps every block above a few
// MB on its own and gives it back on free). The first `hugeBytes` of the heap are advised for
// transparent huge pages, so that filling them costs one fault per 2 MB instead of one per
// 4 kB. Memory is taken only as it is used. Call once at start-up, before other threads
// start; without the GNU C library it does nothing.
void useHeapForLargeBuffers(std::size_t keepBytes, std::size_t hugeBytes);

}  // namespace rt
