// The module's palette pictures (icon, cursor, design thumbnails) as PNG files a browser shows: 8-bit RGBA,
// transparent where an icon's or cursor's mask says so. The image data is stored without compression; these
// pictures are a few kilobytes at most.
#ifndef ZZ_APPS_WORKBENCH_PNG_H
#define ZZ_APPS_WORKBENCH_PNG_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/resources/ResourceFormats.h"

namespace zz {

std::string pngOf(const IndexedImage& image);

// RGBA pixels, rows from the top, as a PNG file.
std::string pngOfRgba(int width, int height, const std::vector<uint8_t>& rgba);

} // namespace zz

#endif
