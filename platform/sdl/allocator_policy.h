// The allocator policy of the Linux programs that draw the mesh: the viewer's entry, and the bare
// loop it is measured against, so that both draw under the same policy.
#pragma once

#ifdef __GLIBC__
#include <malloc.h>
#endif

// Immediate mode makes Mesa replace its half-megabyte vertex buffer several times a frame. With
// glibc's adaptive thresholds each replacement maps fresh pages and faults them in again; keeping
// such blocks on the heap takes that cost out of every frame.
inline void KeepVertexBuffersOnTheHeap() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}
