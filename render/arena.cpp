#include "render/arena.h"

#include "render/draw_modes.h"
#include "render/vertex_batch.h"

namespace {

struct ArenaVertex {
    Vec4 position;
    Vec4 normal;
    float uv[2];
};

constexpr float kFloor = -1.4f;
constexpr float kTop = 15.4f;
constexpr float kEdge = 25.0f;

const ArenaVertex kFloorQuad[4] = {
    {{-kEdge, kFloor, kEdge, 1}, {0, 1, 0, 1}, {0, 0}},
    {{kEdge, kFloor, kEdge, 1}, {0, 1, 0, 1}, {5, 0}},
    {{-kEdge, kFloor, -kEdge, 1}, {0, 1, 0, 1}, {0, 5}},
    {{kEdge, kFloor, -kEdge, 1}, {0, 1, 0, 1}, {5, 5}},
};

// Consecutive walls share an edge, so one run stitches all four.
const ArenaVertex kWalls[16] = {
    {{-kEdge, kFloor, kEdge, 1}, {0, 0, -1, 1}, {0, 0}},
    {{-kEdge, kTop, kEdge, 1}, {0, 0, -1, 1}, {5, 0}},
    {{kEdge, kFloor, kEdge, 1}, {0, 0, -1, 1}, {0, 5}},
    {{kEdge, kTop, kEdge, 1}, {0, 0, -1, 1}, {5, 5}},
    {{kEdge, kFloor, kEdge, 1}, {-1, 0, 0, 1}, {0, 5}},
    {{kEdge, kTop, kEdge, 1}, {-1, 0, 0, 1}, {5, 5}},
    {{kEdge, kFloor, -kEdge, 1}, {-1, 0, 0, 1}, {0, 0}},
    {{kEdge, kTop, -kEdge, 1}, {-1, 0, 0, 1}, {5, 0}},
    {{kEdge, kFloor, -kEdge, 1}, {0, 0, 1, 1}, {0, 0}},
    {{kEdge, kTop, -kEdge, 1}, {0, 0, 1, 1}, {5, 0}},
    {{-kEdge, kFloor, -kEdge, 1}, {0, 0, 1, 1}, {0, 5}},
    {{-kEdge, kTop, -kEdge, 1}, {0, 0, 1, 1}, {5, 5}},
    {{-kEdge, kFloor, -kEdge, 1}, {1, 0, 0, 1}, {0, 5}},
    {{-kEdge, kTop, -kEdge, 1}, {1, 0, 0, 1}, {5, 5}},
    {{-kEdge, kFloor, kEdge, 1}, {1, 0, 0, 1}, {0, 0}},
    {{-kEdge, kTop, kEdge, 1}, {1, 0, 0, 1}, {5, 0}},
};

template <int N>
void DrawGroup(const ArenaVertex (&vertices)[N]) {
    const Vec4 white(1.0f, 1.0f, 1.0f, 1.0f);
    vertexBatch.Reset();
    vertexBatch.EndStrip();
    for (const ArenaVertex& v : vertices) vertexBatch.Add(v.position, white, v.normal, v.uv);
    vertexBatch.EndStrip();
    DrawStrip(StripTexture::Tiles, StripTechnique::WorldLighting);
}

}  // namespace

void DrawArena() {
    DrawGroup(kFloorQuad);
    DrawGroup(kWalls);
}
