// Counts the Direct3D and D3DX objects of the OpenGL layer that are still
// alive, so a test can check that shutdown released everything. Covers every
// reference-counted object the layer hands out; not GL names or SDL objects.
#pragma once

int LiveLayerObjects();
