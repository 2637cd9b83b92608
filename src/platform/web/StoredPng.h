// A PNG writer without zlib (the web build has no libpng): RGB rows stored in uncompressed
// deflate blocks. The file is larger than a compressed one, the picture the same.
#pragma once

#include <cstdio>
#include <vector>

namespace platform {

// Writes width x height RGB pixels, top row first, to f. False when a write fails.
bool WriteStoredPng(std::FILE* f, int width, int height, const std::vector<unsigned char>& rgbRows);

}  // namespace platform
