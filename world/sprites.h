// Camera-facing sprites (shots, cursor, title picture) written into the vertex
// batch as two triangles, and the start-up step that creates the batch's buffer.
#pragma once

#include "math/vec4.h"
#include <windows.h>

// 1 on success, the buffer creation's negative status otherwise.
HRESULT CreateBatchBuffer();
void AddSprite(const Vec4& position, const Vec4& colour, float halfSize);
