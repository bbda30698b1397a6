// Forwards every call to a real device and, when asked, reads the back buffer
// just before Present, where the picture of a frame is still complete.
#pragma once

#include <vector>

#include <d3d9.h>
#include "platform/gl/d3d9_readback.h"

class CapturingDevice final : public IDirect3DDevice9 {
public:
    CapturingDevice(IDirect3DDevice9* real, int width, int height) : real_(real), width_(width), height_(height) {}

    bool captureNextPresent = false;
    std::vector<unsigned char> rgba;  // width * height * 4, top row first

    ULONG AddRef() override { return real_->AddRef(); }
    ULONG Release() override { return real_->Release(); }
    HRESULT Clear(DWORD c, const D3DRECT* r, DWORD f, D3DCOLOR col, float z, DWORD s) override {
        return real_->Clear(c, r, f, col, z, s);
    }
    HRESULT BeginScene() override { return real_->BeginScene(); }
    HRESULT EndScene() override { return real_->EndScene(); }
    HRESULT Present(const RECT* a, const RECT* b, HWND w, const RGNDATA* d) override {
        if (captureNextPresent) {
            captureNextPresent = false;
            rgba.assign(static_cast<size_t>(width_) * height_ * 4, 0);
            if (FAILED(ReadRenderTargetPixels(real_, 0, 0, width_, height_, rgba.data()))) rgba.clear();
        }
        return real_->Present(a, b, w, d);
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override { return real_->SetRenderState(s, v); }
    HRESULT GetRenderState(D3DRENDERSTATETYPE s, DWORD* v) override { return real_->GetRenderState(s, v); }
    HRESULT SetTexture(DWORD s, IDirect3DBaseTexture9* t) override { return real_->SetTexture(s, t); }
    HRESULT SetTextureStageState(DWORD s, D3DTEXTURESTAGESTATETYPE t, DWORD v) override {
        return real_->SetTextureStageState(s, t, v);
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE s, const D3DMATRIX* m) override { return real_->SetTransform(s, m); }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE s, D3DMATRIX* m) override { return real_->GetTransform(s, m); }
    HRESULT SetFVF(DWORD f) override { return real_->SetFVF(f); }
    HRESULT SetStreamSource(UINT s, IDirect3DVertexBuffer9* b, UINT o, UINT st) override {
        return real_->SetStreamSource(s, b, o, st);
    }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE t, UINT s, UINT c) override { return real_->DrawPrimitive(t, s, c); }
    HRESULT GetBackBuffer(UINT s, UINT i, D3DBACKBUFFER_TYPE t, IDirect3DSurface9** o) override {
        return real_->GetBackBuffer(s, i, t, o);
    }
    HRESULT GetRenderTarget(DWORD i, IDirect3DSurface9** s) override { return real_->GetRenderTarget(i, s); }
    HRESULT SetRenderTarget(DWORD i, IDirect3DSurface9* s) override { return real_->SetRenderTarget(i, s); }
    HRESULT CreateVertexBuffer(UINT l, DWORD u, DWORD f, D3DPOOL p, IDirect3DVertexBuffer9** b, HANDLE* h) override {
        return real_->CreateVertexBuffer(l, u, f, p, b, h);
    }
    HRESULT CreateTexture(UINT w, UINT h, UINT l, DWORD u, D3DFORMAT f, D3DPOOL p, IDirect3DTexture9** t,
                          HANDLE* s) override {
        return real_->CreateTexture(w, h, l, u, f, p, t, s);
    }

private:
    IDirect3DDevice9* real_;
    int width_, height_;
};
