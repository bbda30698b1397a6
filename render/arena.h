// The square arena: a tiled floor at -1.4 and four walls up to 15.4, each
// group written into the batch as one strip and drawn with "WorldLighting".
#pragma once

void DrawArena();
