// A vertex buffer whose Lock hands out a copy in memory and notes the range
// written (one span from the lowest to the highest byte), which Upload then
// takes to the system's buffer in a single lock. The game locks its batch
// once per vertex; under Wine each real lock of a buffer that earlier draws
// still read waits for Wine's Direct3D thread, so only the one lock a draw
// does here costs that wait.
// Leaves out: reading back what the device itself writes into the buffer
// (ProcessVertices makes the copy whole again by reading all of it).
#pragma once

#include <d3d9.h>

#include <cstdint>

class CopiedVertexBuffer final : public IDirect3DVertexBuffer9 {
public:
    // The buffer itself if `buffer` is one of ours, else null; no reference.
    static CopiedVertexBuffer* From(IDirect3DVertexBuffer9* buffer);
    // Null when the copy cannot be allocated. Takes over the caller's
    // reference to `real`, and holds one to `device`.
    static CopiedVertexBuffer* Create(IDirect3DDevice9* device, IDirect3DVertexBuffer9* real, UINT length);

    IDirect3DVertexBuffer9* Real() const { return real; }
    // What the game wrote, whether or not uploaded yet.
    const unsigned char* Copy() const { return copy; }
    UINT Length() const { return length; }
    // Changes whenever the copy may have changed, and differs between any two
    // buffers: what was copied from a buffer at one version is still whole.
    uint64_t Version() {
        if (written) version = NextVersion();
        written = false;
        return version;
    }
    // Brings the written range to the system's buffer.
    HRESULT Upload();
    // Copies the system's buffer back, after the device wrote into it.
    HRESULT Reload();
    // A stream of the device refers to the buffer: it lives on, without the
    // game's references, until the last stream lets it go.
    void Bind() { ++bindings; }
    void Unbind();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override;
    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;

    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID guid, const void* data, DWORD data_size, DWORD flags) override {
        return real->SetPrivateData(guid, data, data_size, flags);
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID refguid, void* pData, DWORD* pSizeOfData) override {
        return real->GetPrivateData(refguid, pData, pSizeOfData);
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID refguid) override { return real->FreePrivateData(refguid); }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD PriorityNew) override { return real->SetPriority(PriorityNew); }
    DWORD STDMETHODCALLTYPE GetPriority() override { return real->GetPriority(); }
    void STDMETHODCALLTYPE PreLoad() override { real->PreLoad(); }
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return real->GetType(); }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* pDesc) override { return real->GetDesc(pDesc); }

private:
    CopiedVertexBuffer(IDirect3DDevice9* device, IDirect3DVertexBuffer9* real, unsigned char* copy, UINT length);
    ~CopiedVertexBuffer();

    IDirect3DDevice9* device;
    IDirect3DVertexBuffer9* real;
    unsigned char* copy;
    UINT length;
    UINT dirtyBegin;  // the written range, empty when dirtyBegin >= dirtyEnd
    UINT dirtyEnd = 0;
    ULONG references = 1;
    ULONG bindings = 0;
    uint64_t version;
    bool written = false;  // since the version was last given
    static uint64_t NextVersion();
};
