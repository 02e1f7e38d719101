#include "plugin/finish/PatternTile.h"

#include "plugin/finish/ArtSteps.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"

namespace {

// Tags the copy and transforms it; a compound path is transformed child by child, each child tagged.
SPErr applyToCopy(AIArtHandle copy, const AIRealMatrix& matrix) {
    // An art type that cannot be read is taken as plain art.
    int16_t type = kUnknownArt;
    sAIArt->GetArtType(copy, &type);
    if (type != kCompoundPathArt) {
        sAITag->SetTag(copy, kPatternTileTag, kTagStringType, kPatternTileTag);
        return transformArt(copy, matrix, kTransformObjects);
    }
    AIArtHandle child = nullptr;
    SPErr status = sAIArt->GetArtFirstChild(copy, &child);
    while (status == kSPNoError && child != nullptr) {
        sAITag->SetTag(child, kPatternTileTag, kTagStringType, kPatternTileTag);
        status = transformArt(child, matrix, kTransformObjects);
        if (status != kSPNoError) return status;
        status = sAIArt->GetArtSibling(child, &child);
    }
    return status;
}

// Moves the copy by (dx, dy): the translation out to the art's centre and back, then the move itself.
SPErr moveCopy(AIArtHandle copy, const AIRealPoint& center, AIReal dx, AIReal dy) {
    AIRealMatrix m = {};
    sAIRealMath->AIRealMatrixSetTranslate(&m, -center.h, -center.v);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, center.h, center.v);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, dx, dy);
    return applyToCopy(copy, m);
}

// Flips the copy by (sx, sy) about the centre of its own bounds.
SPErr flipCopy(AIArtHandle copy, AIReal sx, AIReal sy) {
    AIRealPoint c = {};
    SPErr status = artCenter(copy, &c);
    if (status != kSPNoError) return status;
    AIRealMatrix m = {};
    sAIRealMath->AIRealMatrixSetTranslate(&m, -c.h, -c.v);
    sAIRealMath->AIRealMatrixConcatScale(&m, sx, sy);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, c.h, c.v);
    return applyToCopy(copy, m);
}

} // namespace

bool patternTileCenter(int32_t mode, const AIRealPoint& pageCenter, const AIRealPoint& artCenter,
                       AIRealPoint* center) {
    switch (mode) {
    case kPatternDocumentCenter:
        *center = pageCenter;
        return true;
    case kPatternEndPoint:
        *center = {globalsBlock->dragPointX, globalsBlock->dragPointY};
        return true;
    case kPatternStartPoint:
        *center = {globalsBlock->pressPointX, globalsBlock->pressPointY};
        return true;
    case kPatternOriginalPath:
        *center = artCenter;
        return true;
    default:
        return false;
    }
}

SPErr makePatternTile(AIArtHandle art, int32_t placeBelow, AIReal centerX, AIReal centerY) {
    const int16_t order = placeBelow != 0 ? kPlaceBelowAll : kPlaceAboveAll;

    // The left-right copy, its centre serving all three moves.
    AIArtHandle across = nullptr;
    SPErr status = sAIArt->DuplicateArt(art, order, art, &across);
    if (status != kSPNoError) return status;
    AIRealPoint c = {};
    status = artCenter(across, &c);
    if (status != kSPNoError) return status;
    const AIReal dx = 2.0f * (centerX - c.h);
    const AIReal dy = 2.0f * (centerY - c.v);
    status = moveCopy(across, c, dx, 0.0f);
    if (status != kSPNoError) return status;

    AIArtHandle turned = nullptr;
    status = sAIArt->DuplicateArt(art, order, art, &turned);
    if (status != kSPNoError) return status;
    status = moveCopy(turned, c, dx, dy);
    if (status != kSPNoError) return status;

    AIArtHandle upDown = nullptr;
    status = sAIArt->DuplicateArt(art, order, art, &upDown);
    if (status != kSPNoError) return status;
    status = moveCopy(upDown, c, 0.0f, dy);
    if (status != kSPNoError) return status;

    status = flipCopy(across, -1.0f, 1.0f);
    if (status != kSPNoError) return status;
    status = flipCopy(turned, -1.0f, -1.0f);
    if (status != kSPNoError) return status;
    return flipCopy(upDown, 1.0f, -1.0f);
}
