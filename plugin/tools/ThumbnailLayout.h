// Where a design's points land in its 48 x 48 thumbnail. The generator draws with it, and anything that
// checks a thumbnail against its design maps the design's points the same way.
#ifndef ZZ_PLUGIN_TOOLS_THUMBNAIL_LAYOUT_H
#define ZZ_PLUGIN_TOOLS_THUMBNAIL_LAYOUT_H

#include <cmath>

#include "plugin/resources/ResourceIds.h"

constexpr int kThumbnailSize = 48;                           // width and height in pixels
constexpr int kThumbnailMargin = 3;                          // blank pixels kept on every side
constexpr int kFirstThumbnailId = ZZ_FIRST_THUMBNAIL_BITMAP; // bitmap kFirstThumbnailId + k shows design k
constexpr int kThumbnailCount = ZZ_THUMBNAIL_BITMAP_COUNT;   // designs 0 to 62 have a thumbnail
constexpr int kThumbnailBlack = 0;                           // palette index of the line
constexpr int kThumbnailWhite = 15;                          // palette index of the ground

// Pixel position (column or row, from the left or the top) of a template coordinate in 0..1, before rounding.
inline float thumbnailPosition(float coordinate) {
    return static_cast<float>(kThumbnailMargin) +
           coordinate * static_cast<float>(kThumbnailSize - 1 - 2 * kThumbnailMargin);
}

// The pixel a template coordinate falls on.
inline int thumbnailPixel(float coordinate) {
    return static_cast<int>(std::lround(thumbnailPosition(coordinate)));
}

#endif
