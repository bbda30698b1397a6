// Preloaded into the real game by the pace test and the game benchmark. It
// notes the monotonic time of every SDL_GL_SwapWindow, the moment a finished
// frame is handed over, and writes them, one number of nanoseconds a line, to
// the file QF_SWAP_LOG names when the program ends. So frames are counted from
// outside the program, the same way for any build of it, old or new.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum { kMaxSwaps = 1 << 21 };  // ten hours at 60 frames a second
static int64_t swaps[kMaxSwaps];
static long swapCount;

void SDL_GL_SwapWindow(void* window) {
    static void (*real)(void*);
    if (real == NULL) *(void**)&real = dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (swapCount < kMaxSwaps) swaps[swapCount++] = (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
    if (real != NULL) real(window);
}

__attribute__((destructor)) static void WriteSwapLog(void) {
    const char* path = getenv("QF_SWAP_LOG");
    // Only the process that drew writes: not a launcher such as timeout(1).
    if (swapCount == 0) return;
    FILE* file = path ? fopen(path, "w") : NULL;
    if (file == NULL) return;
    for (long i = 0; i < swapCount; ++i) fprintf(file, "%lld\n", (long long)swaps[i]);
    fclose(file);
}
