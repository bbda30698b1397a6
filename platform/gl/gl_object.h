// Internal to the OpenGL layer: the reference count and the live-object count
// every Direct3D/D3DX object of the layer shares, and the GL context that the
// device and every resource keep alive until the last of them is gone.
#pragma once

#include "platform/gl/gl_api.h"

#include <windows.h>

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

// The back end's window and GL context; each back end defines it.
struct GlNativeContext;

// Resources may outlive the device object, so the context is shared and
// destroyed only when nothing that owns GL names is left.
struct GlContext {
    GlNativeContext* native = nullptr;
    int holders = 1;
};

// What the back end provides for its context: the drawable's size in pixels,
// showing the finished frame, and destroying the context and its record.
void GlDrawableSize(const GlContext& context, int* width, int* height);
void GlSwapBuffers(const GlContext& context);
void DestroyGlNativeContext(GlNativeContext* native);

void HoldContext(GlContext* context);
void DropContext(GlContext* context);
