// Long seeded random play through the real frame on the recording device:
// every input source, the title and playing phases in turn. Watches for
// non-finite state, figures leaving the arena, kill counts that drift from the
// deaths seen, and any heap allocation once start-up is over.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>

#include "app/app_state.h"
#include "app/input.h"
#include "render/frame.h"
#include "render/recording_renderer.h"
#include "world/new_game.h"
#include "world/player_gun.h"
#include "world/sprites.h"
#include "world/world_tables.h"

#if defined(__SANITIZE_ADDRESS__)
#define QF_SOAK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QF_SOAK_SANITIZED 1
#endif
#endif

namespace {
std::atomic<bool> countAllocations{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
    if (countAllocations.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    if (countAllocations.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    std::size_t a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

#ifdef QF_SOAK_SANITIZED
constexpr long kDefaultFrames = 20000;
#else
constexpr long kDefaultFrames = 200000;
#endif

// QF_SOAK_FRAMES shortens or lengthens a run by hand.
long FrameCount() {
    const char* text = std::getenv("QF_SOAK_FRAMES");
    long n = text ? std::atol(text) : 0;
    return n > 0 ? n : kDefaultFrames;
}

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 720;

// The first fault seen, in fixed storage: the loop itself must not allocate.
struct Findings {
    char first[256] = "";
    long faults = 0;
    void Note(long frame, const char* what, int index) {
        if (faults++ == 0) std::snprintf(first, sizeof first, "frame %ld: %s (record %d)", frame, what, index);
        if (faults <= 3) std::printf("soak: frame %ld: %s (record %d)\n", frame, what, index);
    }
};

// What the run went through, so that a quiet run cannot pass as a thorough one.
struct Coverage {
    long gamesStarted = 0, controllerGames = 0, deaths = 0, ragDollFrames = 0, shotsSeen = 0, maxKillCount = 0;
};

bool Finite(const Vec4& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w); }

bool FiniteCreature(const Creature& c) {
    bool ok = Finite(c.position) && Finite(c.velocity) && Finite(c.facing) && Finite(c.moveDir) &&
              Finite(c.steerCommand);
    for (float f : {c.speed, c.heading, c.walkPhase, c.health, c.deadTimer, c.speedFactor, c.body.opacity})
        ok = ok && std::isfinite(f);
    for (const MassPoint& p : c.body.points) ok = ok && Finite(p.position) && Finite(p.previous) && Finite(p.velocity);
    for (const BodyJoint& j : c.body.joints)
        for (int k = 0; k < 4; ++k) ok = ok && Finite(j.world.GetColumn(k));
    return ok;
}

// Creatures are clamped to the floor square and fall from at most 25. (Their
// mass points are only checked for being finite: the controller's mode buttons
// let rag dolls fly well beyond the room.)
const char* OutsideArena(const Creature& c) {
    const Vec4& p = c.position;
    if (p.x < -24.0f || p.x > 24.0f || p.z < -24.0f || p.z > 24.0f) return "creature off the floor square";
    if (p.y < 0.0f || p.y > 25.0f) return "creature below the floor or above its drop height";
    return nullptr;
}

void CheckState(long frame, Findings& findings) {
    for (int i = 0; i < kCreatureCount; ++i) {
        if (!FiniteCreature(creatures[i])) findings.Note(frame, "non-finite creature state", i);
        if (const char* where = OutsideArena(creatures[i])) findings.Note(frame, where, i);
    }
    for (int i = 0; i < PlayerGun::kSlotCount; ++i) {
        const Shot& s = playerGun.shots[i];
        if (!Finite(s.position) || !Finite(s.previousPosition) || !Finite(s.velocity))
            findings.Note(frame, "non-finite shot", i);
    }
}

MSG Message(UINT kind, WPARAM wParam, LPARAM lParam) { return MSG{nullptr, kind, wParam, lParam, 0, {}}; }

// Random play: each frame some window messages, and while a controller is
// attached a fresh poll of its whole state.
class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}

    void BeforeFrame() {
        if (Chance(1, 3000)) controllerAttached_ = !controllerAttached_;
        if (controllerAttached_) Poll();
        int events = Below(4) == 0 ? Below(4) : 0;
        for (int i = 0; i < events; ++i) Send(RandomMessage());
    }
    // The main loop hands the last message to the input handling again after a frame.
    void AfterFrame() { HandleInputMessage(last_); }

private:
    std::mt19937 random_;
    bool controllerAttached_ = false;
    DIJOYSTATE2 pad_ = {};
    MSG last_ = {};

    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool Chance(int a, int b) { return Below(b) < a; }
    LONG Axis() {
        switch (Below(4)) {
            case 0: return 0;
            case 1: return Below(2) ? 1000 : -1000;
            default: return Below(2001) - 1000;
        }
    }

    void Poll() {
        // A held stick or button stays for a while, as a hand on the pad would.
        if (Chance(1, 20))
            for (LONG* axis : {&pad_.lX, &pad_.lY, &pad_.lRx, &pad_.lRy}) *axis = Axis();
        if (Chance(1, 30))
            for (int b = 0; b < 4; ++b) pad_.rgbButtons[b] = Chance(1, b == 1 || b == 2 ? 6 : 3) ? 0x80 : 0;
        inputState.controller = pad_;
    }

    MSG RandomMessage() {
        static constexpr WPARAM kKeys[] = {'W', 'A', 'S', 'D', '2', '4', '6', '8', 'Q', VK_SPACE};
        int x = Below(kScreenWidth + 400) - 200;  // a captured mouse reports beyond the window too
        int y = Below(kScreenHeight + 400) - 200;
        switch (Below(8)) {
            case 0: return Message(WM_LBUTTONDOWN, 0, 0);
            case 1: return Message(WM_LBUTTONUP, 0, 0);
            case 2: return Message(Below(2) ? WM_RBUTTONDOWN : WM_RBUTTONUP, 0, 0);
            case 3: return Message(WM_KEYDOWN, kKeys[Below(10)], Chance(1, 4) ? LPARAM(1) << 30 : 0);
            case 4: return Message(WM_KEYUP, kKeys[Below(10)], 0);
            default: return Message(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
        }
    }

    void Send(const MSG& m) {
        HandleInputMessage(m);
        last_ = m;
    }
};

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InstallRecordingRenderer(kScreenWidth, kScreenHeight, nullptr));
        appState.screenWidth = kScreenWidth;
        appState.screenHeight = kScreenHeight;
        NewGame();
        ASSERT_GE(CreateBatchBuffer(), 0);
    }
    void TearDown() override { ReleaseResources(); }
};

TEST_F(Soak, RandomPlayKeepsTheWorldSoundWithoutAllocating) {
    RandomPlayer player(20261206u);
    Findings findings;
    Coverage coverage;
    uint8_t wasAlive[kCreatureCount];

    const long frames = FrameCount();
    auto start = std::chrono::steady_clock::now();
    countAllocations = true;
    for (long frame = 1; frame <= frames; ++frame) {
        player.BeforeFrame();
        bool wasTitle = gameState == Title;
        long killsBefore = killCount;
        for (int i = 0; i < kCreatureCount; ++i) wasAlive[i] = creatures[i].alive;

        RunFrame();
        player.AfterFrame();

        long deaths = 0;
        for (int i = 1; i < kCreatureCount; ++i) deaths += wasAlive[i] == 1 && creatures[i].alive == 0;
        // Cleared by a title step, then one per enemy death (deaths come after the phase step).
        if (killCount != (wasTitle ? 0 : killsBefore) + deaths) findings.Note(frame, "kill count drifted", 0);
        CheckState(frame, findings);

        coverage.deaths += deaths;
        if (wasTitle && gameState == Playing) {
            ++coverage.gamesStarted;
            coverage.controllerGames += mouseAim == 0;
        }
        coverage.ragDollFrames += creatures[0].body.physicsActive;
        for (const Shot& s : playerGun.shots) coverage.shotsSeen += s.active;
        if (killCount > coverage.maxKillCount) coverage.maxKillCount = killCount;
    }
    countAllocations = false;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("soak: %ld frames in %.2f s, %.0f frames per second; %ld games (%ld by controller), %ld enemy deaths, "
                "best game %ld kills, %ld allocations while running\n",
                frames, seconds, frames / seconds, coverage.gamesStarted, coverage.controllerGames, coverage.deaths,
                coverage.maxKillCount, allocations.load());
    EXPECT_EQ(findings.faults, 0) << "first: " << findings.first;
    EXPECT_EQ(allocations.load(), 0) << "heap allocations after start-up";
    // A run that never played both kinds of game or never killed anything proves little.
    EXPECT_GE(coverage.gamesStarted, 10);
    EXPECT_GE(coverage.controllerGames, 1);
    EXPECT_GE(coverage.gamesStarted - coverage.controllerGames, 1);
    EXPECT_GE(coverage.deaths, 50);
    EXPECT_GT(coverage.ragDollFrames, 0);
    EXPECT_GT(coverage.shotsSeen, 0);
}

}  // namespace
