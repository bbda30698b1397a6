// Internal to the OpenGL layer: the reference count and the live-object count
// every Direct3D/D3DX object of the layer shares, and the GL context that the
// device and every resource keep alive until the last of them is gone.
#pragma once

#include "platform/gl/gl_api.h"

#include <windows.h>

#include "platform/backend.h"

void NoteLayerObjectCreated();
void NoteLayerObjectDestroyed();

template <class Interface>
class GlObject : public Interface {
public:
    GlObject() { NoteLayerObjectCreated(); }
    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

protected:
    ~GlObject() override { NoteLayerObjectDestroyed(); }

private:
    ULONG references = 1;
};

// Resources may outlive the device object, so the context is shared and
// destroyed only when nothing that owns GL names is left. What the back end
// keeps (its window and GL context) and does with it (the drawable's size,
// the swap, destroying it) is in platform/backend.h.
struct GlContext {
    backend::GlNativeContext* native = nullptr;
    int holders = 1;
};

void HoldContext(GlContext* context);
void DropContext(GlContext* context);
