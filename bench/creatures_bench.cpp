// The creature part of a frame: 50 moves and body updates drawn into the
// batch, and the separation pass, for figures walking and for enemies lying
// as rag dolls. Prints microseconds per frame and heap allocations per frame.
// Arguments: frames per timed run (default 1000), then any of "nobatch",
// which leaves the batch without a buffer, so vertices are computed but not
// written, and "walking", which stops before the rag dolls (for a profile of
// the walking frame alone).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>

#include <time.h>

#include "creatures/creature.h"
#include "render/vertex_batch.h"
#include "tests/support/array_vertex_buffer.h"
#include "tests/support/creature_digest.h"
#include "world/world_tables.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& t) noexcept { return operator new(size, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

int kFramesPerRun = 1000;  // the first argument overrides it, e.g. for a profiler
constexpr int kRuns = 7;

ArrayVertexBuffer<60000> memoryBuffer;

struct Figures {
    double wallMedian;  // microseconds per frame
    double wallBest;
    double cpuMedian;  // this thread's CPU time: what a shared machine's other load does not add
    double allocationsPerFrame;
    int vertices;
};

double CpuMicros() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) * 1e-3;
}

Figures Measure(bool dead, int& frame) {
    double wall[kRuns], cpu[kRuns];
    const long allocationsBefore = allocations.load();
    for (int run = 0; run < kRuns; ++run) {
        const double cpuStart = CpuMicros();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kFramesPerRun; ++i) CreatureFrame(frame++, dead);
        const auto stop = std::chrono::steady_clock::now();
        cpu[run] = (CpuMicros() - cpuStart) / kFramesPerRun;
        wall[run] = std::chrono::duration<double, std::micro>(stop - start).count() / kFramesPerRun;
    }
    const long allocated = allocations.load() - allocationsBefore;
    std::sort(wall, wall + kRuns);
    std::sort(cpu, cpu + kRuns);
    return {wall[kRuns / 2], wall[0], cpu[kRuns / 2], static_cast<double>(allocated) / (kRuns * kFramesPerRun),
            vertexBatch.count};
}

void Print(const char* state, const Figures& f) {
    std::printf("%-24s wall %7.1f us/frame median, %7.1f best; cpu %7.1f us/frame median; %.3f allocations/frame;"
                " %d vertices\n",
                state, f.wallMedian, f.wallBest, f.cpuMedian, f.allocationsPerFrame, f.vertices);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) kFramesPerRun = std::max(1, std::atoi(argv[1]));
    bool writeVertices = true, walkingOnly = false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "nobatch") {
            writeVertices = false;
        } else if (word == "walking") {
            walkingOnly = true;
        } else {
            std::fprintf(stderr, "unknown argument '%s': expected nobatch or walking\n", argv[i]);
            return 2;
        }
    }
    vertexBatch.buffer = writeVertices ? &memoryBuffer : nullptr;
    PlaceFigures();
    int frame = 0;
    for (int i = 0; i < 300; ++i) CreatureFrame(frame++, false);  // get everyone walking
    const Figures walking = Measure(false, frame);
    const uint64_t walkingDigest = VertexDigest(memoryBuffer.vertices);
    if (walkingOnly) {
        Print("walking (50 animated)", walking);
        std::printf("vertex digest %016" PRIx64 " after %d frames\n", walkingDigest, kRuns * kFramesPerRun);
        return walking.allocationsPerFrame == 0.0 ? 0 : 1;
    }
    KillEnemies();
    for (int i = 0; i < 5; ++i) CreatureFrame(frame++, true);  // all of them limp
    int ragDolls = 0;
    for (int i = 1; i < kCreatureCount; ++i) ragDolls += creatures[i].body.physicsActive;
    const Figures dead = Measure(true, frame);
    Print("walking (50 animated)", walking);
    Print("rag dolls (49 dead)", dead);
    std::printf("rag dolls active: %d; vertex digests %016" PRIx64 " %016" PRIx64 " after %d frames each\n",
                ragDolls, walkingDigest, VertexDigest(memoryBuffer.vertices), kRuns * kFramesPerRun);
    if (memoryBuffer.lockFailures != 0) std::printf("warning: %d vertex locks failed\n", memoryBuffer.lockFailures);
    const bool ok = walking.allocationsPerFrame == 0.0 && dead.allocationsPerFrame == 0.0 && ragDolls == 49;
    return ok ? 0 : 1;
}
