#pragma once

#include <string>

#include "e2e/image_distance.h"

// Writes the picture as an 8-bit RGB PNG file, its image data in stored (uncompressed) deflate
// blocks: three bytes a pixel, as large as a BMP file, but readable by every image viewer. False
// when the file cannot be written.
bool write_png(const std::string& path, const Picture& picture);
