// The pattern tile mirror: three mirrored copies of a piece of art around a centre point.
#ifndef ZZ_PLUGIN_FINISH_PATTERN_TILE_H
#define ZZ_PLUGIN_FINISH_PATTERN_TILE_H

#include <cstdint>

#include "ZZTypes.h"

// The pattern / tile list: where the tile's centre lies.
enum PatternMode : int32_t {
    kPatternIgnore = 0,
    kPatternDocumentCenter = 1,
    kPatternEndPoint = 2,
    kPatternStartPoint = 3,
    kPatternOriginalPath = 4
};

// The centre of a tile under `mode`: the page centre, the drag point, the press point or the art's own
// centre. False for a mode that makes no tile.
bool patternTileCenter(int32_t mode, const AIRealPoint& pageCenter, const AIRealPoint& artCenter,
                       AIRealPoint* center);

// The tag every tiled copy (or every child of a tiled compound path) carries, as name and string value.
#define kPatternTileTag "multi-tool"

// Adds three copies of `art` (which stays as it is): one mirrored across the vertical line through
// (centerX, centerY), one across the horizontal line, and one turned half a revolution about the point. The
// copies go above all art, or below all art when `placeBelow` is non-zero. Returns the first failing host
// status; copies made before it stay.
SPErr makePatternTile(AIArtHandle art, int32_t placeBelow, AIReal centerX, AIReal centerY);

#endif
