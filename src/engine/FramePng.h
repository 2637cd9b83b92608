// The picture on screen saved as a file.
#pragma once

#include <string>

// Saves the current frame buffer (width x height game pixels) as an upright PNG. False when nothing
// is drawn (a render-free run) or the file could not be written.
bool SaveFramePng(const std::string& file, int width, int height);
