// Internal to the platform layer: reading a file whole, up to a limit, for
// the loaders that take it in one piece (effects, bitmaps).
#pragma once

#include <cstddef>
#include <string>

// The file's first maxBytes bytes (all of it if shorter): reading one byte
// past a loader's own limit tells the loader the file is too long without
// reading the rest. False when the file cannot be opened or read.
bool ReadFilePrefix(const std::string& path, size_t maxBytes, std::string* bytes);
