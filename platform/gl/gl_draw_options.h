// Settings of the OpenGL layer's draw path for benchmarks and tests; the game
// leaves them at their defaults.
#pragma once

// Mesa's software rasteriser pays, for every draw that has a vertex outside the
// view, a cost that grows with the square of the draw's size (up to 4096
// vertices), so the layer draws long triangle strips as pieces of at most this
// many vertices, all in one glMultiDrawArrays. 0 draws every strip whole.
inline constexpr unsigned kGlDefaultStripPieceLength = 256;

// Odd lengths are rounded down to even; lengths below 4 mean 0.
void SetGlStripPieceLength(unsigned vertices);
unsigned GlStripPieceLength();

// GL draw calls made since start-up, and the draws they held (a multi-draw
// holds several).
struct GlDrawCounts {
    unsigned long long calls = 0, draws = 0;
};
GlDrawCounts GlDrawCountsSoFar();

// Benchmarks only, to weigh the parts of a frame: a draw for which the filter
// returns false is skipped. Null (the default) draws everything.
using GlDrawFilter = bool (*)(bool strip, unsigned vertices);
void SetGlDrawFilter(GlDrawFilter filter);
