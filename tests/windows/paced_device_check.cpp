// The Windows device wrapper against the system's Direct3D 9 it wraps, run
// under Wine by windows_test.sh: the same pixels from the game's way of
// filling its batch (a lock per vertex, the batch started again at 0 for each
// group while earlier draws still read it), the same answers to locks at and
// past the end and to the release sequence, the wrapper never taken for the
// replay tool's recording device; and the pace: Present never returns sooner
// than the rate allows, and waiting costs little processor time.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/shared/frame_pacer.h"
#include "platform/windows/paced_direct3d.h"
#include "platform/windows/recording_link.h"

namespace {
int failures = 0;

void Check(bool ok, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::printf(ok ? "ok: " : "FAIL: ");
    std::vprintf(format, args);
    std::printf("\n");
    std::fflush(stdout);  // all that was checked, should a later check crash
    va_end(args);
    if (!ok) ++failures;
}

constexpr UINT kSize = 64;
constexpr DWORD kFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};
constexpr UINT kCapacity = 4096;
constexpr UINT kLength = kCapacity * sizeof(Vertex);

IDirect3D9* SystemDirect3D() { return SystemDirect3DCreate9(D3D_SDK_VERSION); }

HWND MakeWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PacedDeviceCheck";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"PacedDeviceCheck", L"PacedDeviceCheck", WS_OVERLAPPEDWINDOW, 0, 0, kSize, kSize,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

IDirect3DDevice9* MakeDevice(IDirect3D9* direct3d, HWND window) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = kSize;
    parameters.BackBufferHeight = kSize;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.Windowed = TRUE;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                      &parameters, &device)))
        return nullptr;
    return device;
}

// As the game's batch does it: one lock and unlock per vertex.
UINT AddVertex(IDirect3DVertexBuffer9* buffer, UINT count, float x, float y, D3DCOLOR colour) {
    void* data = nullptr;
    if (FAILED(buffer->Lock(count * sizeof(Vertex), sizeof(Vertex), &data, 0))) return count;
    const Vertex vertex{x, y, 0.5f, 1.0f, colour};
    std::memcpy(data, &vertex, sizeof vertex);
    buffer->Unlock();
    return count + 1;
}

// Four groups drawn from vertex 0, each shorter than the last, so that every
// group overwrites what the draws before it read; the last draw also reads
// vertices left over from the group before it.
std::vector<DWORD> DrawGroups(IDirect3DDevice9* device, IDirect3DVertexBuffer9* buffer) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xff000000u, 1.0f, 0);
    device->BeginScene();
    device->SetFVF(kFvf);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetStreamSource(0, buffer, 0, sizeof(Vertex));
    const D3DCOLOR colours[] = {0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffff00u};
    for (int group = 0; group < 4; ++group) {
        const int columns = 8 - 2 * group;
        UINT count = 0;
        for (int column = 0; column <= columns; ++column) {
            const float x = 2.0f + column * 7.0f;
            const float top = 2.0f + group * 14.0f;
            count = AddVertex(buffer, count, x, top, colours[group] ^ (column * 0x10u));
            count = AddVertex(buffer, count, x, top + 10.0f, colours[group]);
        }
        const UINT drawn = group == 3 ? count + 4 : count;  // reaches into group 2's vertices
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, drawn - 2);
    }
    device->EndScene();

    std::vector<DWORD> pixels;
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* copy = nullptr;
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(device->GetRenderTarget(0, &target)) &&
        SUCCEEDED(device->CreateOffscreenPlainSurface(kSize, kSize, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr)) &&
        SUCCEEDED(device->GetRenderTargetData(target, copy)) && SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        for (UINT row = 0; row < kSize; ++row) {
            const auto* line = reinterpret_cast<const DWORD*>(static_cast<const unsigned char*>(locked.pBits) + row * locked.Pitch);
            for (UINT column = 0; column < kSize; ++column) pixels.push_back(line[column] & 0x00ffffffu);
        }
        copy->UnlockRect();
    }
    if (copy) copy->Release();
    if (target) target->Release();
    return pixels;
}

// A buffer of the same kind from each device.
struct BufferPair {
    IDirect3DVertexBuffer9* ours = nullptr;
    IDirect3DVertexBuffer9* theirs = nullptr;
    BufferPair(IDirect3DDevice9* wrapped, IDirect3DDevice9* system) {
        wrapped->CreateVertexBuffer(kLength, 0, kFvf, D3DPOOL_DEFAULT, &ours, nullptr);
        system->CreateVertexBuffer(kLength, 0, kFvf, D3DPOOL_DEFAULT, &theirs, nullptr);
    }
    ~BufferPair() {
        if (ours) ours->Release();
        if (theirs) theirs->Release();
    }
    bool Made() const { return ours != nullptr && theirs != nullptr; }
};

void CheckPixels(IDirect3DDevice9* wrapped, IDirect3DDevice9* system) {
    const BufferPair buffers(wrapped, system);
    if (!buffers.Made()) return Check(false, "vertex buffers for the pixel comparison");
    IDirect3DVertexBuffer9* ours = buffers.ours;
    IDirect3DVertexBuffer9* theirs = buffers.theirs;
    // Twice: the second frame starts from the first frame's contents.
    for (int frame = 1; frame <= 2; ++frame) {
        const std::vector<DWORD> expected = DrawGroups(system, theirs);
        const std::vector<DWORD> seen = DrawGroups(wrapped, ours);
        const auto lit = std::count_if(expected.begin(), expected.end(), [](DWORD p) { return p != 0; });
        const auto yellow = std::count_if(expected.begin(), expected.end(), [](DWORD p) { return (p & 0xf0f0f0u) == 0xf0f000u; });
        int differ = 0;
        for (size_t i = 0; i < std::min(seen.size(), expected.size()); ++i) differ += seen[i] != expected[i];
        Check(seen.size() == kSize * kSize && expected.size() == seen.size() && differ == 0 && lit > 1000 && yellow > 50,
              "frame %d: the wrapped device draws the system's pixels (%d of %zu differ; %d lit, %d of the last group)",
              frame, differ, seen.size(), static_cast<int>(lit), static_cast<int>(yellow));
        wrapped->Present(nullptr, nullptr, nullptr, nullptr);
        system->Present(nullptr, nullptr, nullptr, nullptr);
    }
}

void CheckLocks(IDirect3DDevice9* wrapped, IDirect3DDevice9* system) {
    const BufferPair buffers(wrapped, system);
    if (!buffers.Made()) return Check(false, "vertex buffers for the lock comparison");
    IDirect3DVertexBuffer9* ours = buffers.ours;
    IDirect3DVertexBuffer9* theirs = buffers.theirs;
    const struct {
        UINT offset, size;
    } ranges[] = {{0, 0}, {0, kLength}, {kLength - 20, 20}, {kLength - 20, 40}, {kLength, 20},
                  {kLength + 20, 20}, {kLength, 0}, {0xffffffe0u, 0x40}};
    for (const auto& range : ranges) {
        void* ourData = nullptr;
        const bool ourOk = SUCCEEDED(ours->Lock(range.offset, range.size, &ourData, 0));
        if (ourOk) ours->Unlock();
        // Wine's own buffer grants locks past its end too, handing out memory
        // it does not own (and may fault on them), so it is asked only about
        // locks inside; the game's batch counts on the others failing.
        const bool inside = range.offset <= kLength && range.size <= kLength - range.offset;
        bool theirOk = false;
        void* theirData = nullptr;
        if (inside && SUCCEEDED(theirs->Lock(range.offset, range.size, &theirData, 0))) {
            theirOk = true;
            theirs->Unlock();
        }
        Check(ourOk == inside && ourOk == (ourData != nullptr) && theirOk == inside, "lock of %u bytes at %u of %u %s",
              range.size, range.offset, kLength, ourOk ? "succeeds, as the system's does" : "fails");
    }
    IDirect3DDevice9* owner = nullptr;
    ours->GetDevice(&owner);
    Check(owner == wrapped, "the buffer's device is the wrapped device");
    if (owner) owner->Release();
}

void CheckIdentity(IDirect3D9* direct3d, IDirect3DDevice9* device) {
    Check(AsRecordingDevice(device) == nullptr, "the wrapped device is not taken for a recording device");
    void* found = nullptr;
    const bool asDevice = SUCCEEDED(device->QueryInterface(IID_IDirect3DDevice9, &found)) && found == device;
    if (found) static_cast<IUnknown*>(found)->Release();
    Check(asDevice, "asked for IDirect3DDevice9, the wrapped device answers with itself");
    IDirect3D9* parent = nullptr;
    device->GetDirect3D(&parent);
    Check(parent == direct3d, "GetDirect3D gives the wrapper the device came from");
    if (parent) parent->Release();

    IDirect3DVertexBuffer9* buffer = nullptr;
    IDirect3DVertexBuffer9* bound = nullptr;
    UINT offset = 1, stride = 0;
    device->CreateVertexBuffer(kLength, 0, kFvf, D3DPOOL_DEFAULT, &buffer, nullptr);
    device->SetStreamSource(0, buffer, 0, sizeof(Vertex));
    device->GetStreamSource(0, &bound, &offset, &stride);
    Check(buffer != nullptr && bound == buffer && offset == 0 && stride == sizeof(Vertex),
          "GetStreamSource gives back the buffer the game set, offset %u, stride %u", offset, stride);
    if (bound) bound->Release();
    device->SetStreamSource(0, nullptr, 0, 0);
    if (buffer) buffer->Release();
}

// The game's start and end: a device, a buffer bound to stream 0, then the
// buffer, the device and the Direct3D object released while still bound.
std::vector<ULONG> ReferenceCounts(IDirect3D9* direct3d, HWND window) {
    std::vector<ULONG> counts;
    IDirect3DDevice9* device = MakeDevice(direct3d, window);
    if (device == nullptr) return counts;
    IDirect3DVertexBuffer9* buffer = nullptr;
    device->CreateVertexBuffer(kLength, 0, kFvf, D3DPOOL_DEFAULT, &buffer, nullptr);
    if (buffer == nullptr) return counts;
    device->SetStreamSource(0, buffer, 0, sizeof(Vertex));
    counts.push_back(buffer->AddRef());
    counts.push_back(buffer->Release());
    counts.push_back(device->AddRef());
    counts.push_back(device->Release());
    counts.push_back(buffer->Release());
    counts.push_back(device->Release());
    counts.push_back(direct3d->Release());
    return counts;
}

void CheckReferenceCounts(HWND window) {
    IDirect3D9* system = SystemDirect3D();
    IDirect3D9* wrapped = Direct3DCreate9(D3D_SDK_VERSION);
    if (system == nullptr || wrapped == nullptr) return Check(false, "Direct3D objects for the reference counts");
    const std::vector<ULONG> expected = ReferenceCounts(system, window);
    const std::vector<ULONG> seen = ReferenceCounts(wrapped, window);
    char text[128] = "";
    for (ULONG count : seen) std::snprintf(text + std::strlen(text), sizeof text - std::strlen(text), " %lu", count);
    Check(expected.size() == 7 && seen == expected, "reference counts through the game's release order:%s, as the system's",
          text);
}

// This thread's time only: Wine's Direct3D command-stream thread polls for
// work while the game waits, which would count against the wait here.
int64_t ProcessorTime() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME t) { return (static_cast<int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) * 100;
}

// Set to 100 a second before the device is made (which reads the rate).
void CheckPace(IDirect3DDevice9* device) {
    const PaceClock& clock = backend::SystemPaceClock();
    constexpr int kFrames = 61;
    std::vector<int64_t> presented;
    device->Present(nullptr, nullptr, nullptr, nullptr);
    const int64_t start = clock.now();
    const int64_t busyBefore = ProcessorTime();
    for (int i = 0; i < kFrames - 1; ++i) {
        device->Present(nullptr, nullptr, nullptr, nullptr);
        presented.push_back(clock.now());
    }
    const int64_t wall = presented.back() - start;
    const double share = static_cast<double>(ProcessorTime() - busyBefore) / static_cast<double>(wall);
    std::vector<int64_t> gaps;
    for (size_t i = 1; i < presented.size(); ++i) gaps.push_back(presented[i] - presented[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    const double median = gaps[gaps.size() / 2] / 1e6;
    // Never faster than the rate: 60 periods take at least 600 ms. Slower
    // only by what a busy machine adds.
    Check(PacedFrameRate() == 100 && wall >= 600000000 && median > 9.5 && median < 25.0,
          "paced at 100 a second: 60 frames in %.1f ms, median interval %.2f ms", wall / 1e6, median);
    Check(share < 0.5, "waiting for the frame costs little processor time (%.0f%% of a core)", share * 100.0);
}

void CheckClock() {
    const PaceClock& clock = backend::SystemPaceClock();
    const int64_t before = clock.now();
    const ULONGLONG ticksBefore = GetTickCount64();
    Sleep(200);
    const double elapsed = (clock.now() - before) / 1e6;
    const double ticks = static_cast<double>(GetTickCount64() - ticksBefore);
    Check(elapsed >= 199.0 && std::abs(elapsed - ticks) < 20.0, "the clock counts nanoseconds: %.1f ms over a tick count of %.0f",
          elapsed, ticks);
    std::vector<int64_t> late;
    for (int i = 0; i < 21; ++i) {
        const int64_t when = clock.now() + 5000000;
        WaitUntil(clock, when);
        late.push_back(clock.now() - when);
    }
    std::sort(late.begin(), late.end());
    // Generous, for shared machines: a timer of Windows' default 15.6 ms
    // grain would still fail it.
    Check(late.front() >= 0 && late[late.size() / 2] < 4000000,
          "a 5 ms wait ends on time, never early: %.3f ms late at the median, %.3f ms at worst", late[late.size() / 2] / 1e6,
          late.back() / 1e6);
}
}  // namespace

int main() {
    _putenv_s(kFrameRateVariable, "100");
    HWND window = MakeWindow();
    IDirect3D9* system = SystemDirect3D();
    IDirect3D9* wrapped = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* systemDevice = system ? MakeDevice(system, window) : nullptr;
    IDirect3DDevice9* wrappedDevice = wrapped ? MakeDevice(wrapped, window) : nullptr;
    if (window == nullptr || systemDevice == nullptr || wrappedDevice == nullptr) {
        std::printf("FAIL: no window or Direct3D 9 device to check with\n");
        return 1;
    }
    CheckIdentity(wrapped, wrappedDevice);
    CheckPixels(wrappedDevice, systemDevice);
    CheckLocks(wrappedDevice, systemDevice);
    CheckClock();
    CheckPace(wrappedDevice);
    CheckReferenceCounts(window);
    wrappedDevice->Release();
    systemDevice->Release();
    wrapped->Release();
    system->Release();
    DestroyWindow(window);
    return failures == 0 ? 0 : 1;
}
