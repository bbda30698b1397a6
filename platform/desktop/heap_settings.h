// Internal to the desktop back end: how the C library's heap is set up for
// the GL driver.
#pragma once

// Mesa allocates and frees blocks of 64 KB and more around every draw. With
// glibc's defaults the top of the heap goes back to the kernel after each
// free and is faulted in again at the next draw, which costs more than the
// drawing at small screen sizes. This keeps freed memory in the heap. A heap
// setting the player made in the environment (MALLOC_TRIM_THRESHOLD_,
// MALLOC_TOP_PAD_, MALLOC_MMAP_THRESHOLD_ or GLIBC_TUNABLES) is left as it is.
// Call before the driver is loaded.
void KeepHeapForDriver();
