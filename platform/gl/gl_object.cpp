#include "platform/gl/gl_object.h"

#include "platform/shared/d3d9_live_objects.h"

namespace {
int liveObjects = 0;
}

void NoteLayerObjectCreated() { ++liveObjects; }
void NoteLayerObjectDestroyed() { --liveObjects; }
int LiveLayerObjects() { return liveObjects; }

void HoldContext(GlContext* context) { ++context->holders; }

void DropContext(GlContext* context) {
    if (--context->holders > 0) return;
    backend::DestroyGlNativeContext(context->native);
    delete context;
}
