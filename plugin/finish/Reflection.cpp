#include "plugin/finish/Reflection.h"

#include <initializer_list>

#include "plugin/finish/ArtSteps.h"
#include "plugin/finish/ColorModes.h"
#include "plugin/finish/PatternTile.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"

namespace {

void clampUnit(AIReal& value) {
    if (value < 0.0f) value = 0.0f;
    if (value > 1.0f) value = 1.0f;
}

// The repeat colour of an even reflection, by mode.
void repeatColor(AIColor& c, int32_t mode) {
    const int count = colorValueCount(c);
    if (count == 0) return;
    switch (mode) {
    case kRepeatAlternateInvert:
        for (int i = 0; i < (c.kind == kGrayColor ? 1 : 3); ++i) // a four-colour black stays
            c.value[i] = 1.0f - c.value[i];
        break;
    case kRepeatAlternateBlack: {
        const AIReal black = c.kind == kThreeColor ? 0.0f : 1.0f;
        for (int i = 0; i < count; ++i)
            c.value[i] = black;
        break;
    }
    case kRepeatAlternateReduced:
        for (int i = 0; i < count; ++i)
            c.value[i] = c.value[i] * 0.5f;
        break;
    case kRepeatAlternateDoubled:
        for (int i = 0; i < count; ++i)
            c.value[i] = c.value[i] * 2.0f;
        break;
    default:
        break;
    }
}

// The gray value and the first three values of four- and three-colours into 0..1; a four-colour black is
// left as it is.
void clampColor(AIColor& c) {
    if (c.kind == kGrayColor) {
        clampUnit(c.value[0]);
    } else if (c.kind == kFourColor || c.kind == kThreeColor) {
        for (int i = 0; i < 3; ++i)
            clampUnit(c.value[i]);
    }
}

// Reads the art's bounds and, when the pattern mode asks for one, tiles it.
SPErr tileArt(const ToolSettings& settings, AIArtHandle art, int32_t placeBelow,
              const AIRealPoint& pageCenter) {
    AIRealPoint own = {};
    SPErr status = artCenter(art, &own);
    if (status != kSPNoError) return status;
    AIRealPoint center = {};
    if (!patternTileCenter(settings.patternMode, pageCenter, own, &center)) return kSPNoError;
    return makePatternTile(art, placeBelow, center.h, center.v);
}

// Copies R by the element's segments moved by (dx, dy).
SPErr moveCopy(AIArtHandle element, AIArtHandle copy, AIReal dx, AIReal dy) {
    int16_t count = 0;
    SPErr status = sAIPath->GetPathSegmentCount(element, &count);
    if (status != kSPNoError) return status;
    for (int16_t i = 0; i < count; ++i) {
        AIPathSegment segment = {};
        status = sAIPath->GetPathSegments(element, i, 1, &segment);
        if (status != kSPNoError) return status;
        for (AIRealPoint* p : {&segment.p, &segment.in, &segment.out}) {
            p->h = p->h + dx;
            p->v = p->v + dy;
        }
        status = sAIPath->SetPathSegments(copy, i, 1, &segment);
        if (status != kSPNoError) return status;
    }
    return kSPNoError;
}

struct ReflectionCall {
    AIArtHandle element;
    int16_t colorModel;
    int32_t reflectionIndex;
    AIReal styleFactor;
    AIReal widthFactor;
    AIReal opacityFactor;
    int32_t placeBelow;
};

// How reflection n's copy moves from its element.
struct CopyMove {
    AIReal alternate; // the alternate angle, radians, for even reflections only
    AIReal dx;
    AIReal dy;
    AIReal turn; // radians
};

// The move of the copy of reflection `step` (1, 2, ...). The running scale grows with every reflection of the
// generation, made or not.
CopyMove copyMove(ToolSettings& settings, int32_t step, bool even) {
    const float n = static_cast<float>(step);
    CopyMove move;
    move.alternate = sAIRealMath->DegreeToRadian(settings.alternateAngle);
    if (!even) move.alternate = 0.0f;

    settings.cumulativeReflectScaleX = settings.reflectScalingX * settings.cumulativeReflectScaleX * 0.01f;
    settings.cumulativeReflectScaleY = settings.reflectScalingY * settings.cumulativeReflectScaleY * 0.01f;

    move.dx = settings.reflectShiftX * n;
    if (settings.reflectHorizontal) move.dx = randomDraw() * settings.reflectShiftX * n;
    move.dy = settings.reflectShiftY * n;
    if (settings.reflectVertical) move.dy = randomDraw() * settings.reflectShiftY * n;
    move.turn = sAIRealMath->DegreeToRadian(settings.reflectTurn) * n;
    return move;
}

// Duplicates the element beside itself and moves, turns and scales the duplicate.
SPErr placeCopy(const ToolSettings& settings, const ReflectionCall& call, const CopyMove& move,
                AIArtHandle* copy) {
    const int16_t order = call.placeBelow != 0 ? kPlaceBelowAll : kPlaceAboveAll;
    SPErr status = sAIArt->DuplicateArt(call.element, order, call.element, copy);
    if (status != kSPNoError) return status;
    status = moveCopy(call.element, *copy, move.dx, move.dy);
    if (status != kSPNoError) return status;

    if (move.alternate != 0.0f) {
        status = rotateAboutCenter(*copy, move.alternate);
        if (status != kSPNoError) return status;
    }
    if (move.turn != 0.0f) {
        status = rotateAboutCenter(*copy, move.turn);
        if (status != kSPNoError) return status;
    }
    if (settings.cumulativeReflectScaleX != 1.0f || settings.cumulativeReflectScaleY != 1.0f)
        return scaleAboutCenter(*copy, settings.cumulativeReflectScaleX, settings.cumulativeReflectScaleY);
    return kSPNoError;
}

// The style options: a random named style, the colour modes over the reflections, the pen pressure, and the
// random and jittered paint.
SPErr styleCopy(const ToolSettings& settings, const ReflectionCall& call, AIArtHandle copy,
                int32_t styleCount, int32_t swatchCount) {
    if (settings.randomStyle) {
        SPErr status =
            applyRandomStyle(copy, styleCount, settings.pressureStyleFactor != 0, call.styleFactor);
        if (status != kSPNoError) return status;
    }
    if (settings.styleToReflect) {
        const int32_t step = call.reflectionIndex + 1;
        const int32_t fillTotal =
            settings.fillCycleLength != 0 ? settings.fillCycleLength : settings.numberOfReflections;
        const int32_t strokeTotal =
            settings.strokeCycleLength != 0 ? settings.strokeCycleLength : settings.numberOfReflections;
        applyFillColorMode(settings.fillColorMode, copy, swatchCount, settings.fillSwatchIndex, fillTotal / 2,
                           step, fillTotal);
        applyStrokeColorMode(settings.strokeColorMode, copy, swatchCount, settings.strokeSwatchIndex,
                             strokeTotal / 2, step, strokeTotal);
    }
    applyPressureAndRandomPaint(settings, copy, call.widthFactor, call.opacityFactor);
    return kSPNoError;
}

// Even reflections take the repeat colour; then every colour is brought back into range.
void repeatAndClampColors(const ToolSettings& settings, AIArtHandle copy, bool even) {
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(copy, &style);
    if (even) {
        repeatColor(style.fill.color, settings.repeatColorMode);
        repeatColor(style.stroke.color, settings.repeatColorMode);
    }
    clampColor(style.fill.color);
    clampColor(style.stroke.color);
    sAIPathStyle->SetPathStyle(copy, &style);
}

// The symbol, the shadow, the pattern tiles and the warp.
SPErr finishCopy(const ToolSettings& settings, const ReflectionCall& call, AIArtHandle copy,
                 const AIRealPoint& pageCenter) {
    SPErr status = kSPNoError;
    if (settings.symbolizeZigzag) {
        AIPatternHandle symbol = nullptr;
        status = sAISymbol->NewSymbolPattern(&symbol, copy, 0);
        if (status != kSPNoError) return status;
    }

    if (settings.dropShadow) {
        AIArtHandle shadow = nullptr;
        status = castShadow(copy, call.element, call.colorModel, &shadow);
        if (status != kSPNoError) return status;
        status = tileArt(settings, shadow, call.placeBelow, pageCenter);
        if (status != kSPNoError) return status;
    }

    status = tileArt(settings, copy, call.placeBelow, pageCenter);
    if (status != kSPNoError) return status;

    if (settings.randomWarp) return warpRandomly(copy);
    return kSPNoError;
}

SPErr reflect(ToolSettings& settings, const ReflectionCall& call) {
    const bool even = call.reflectionIndex % 2 == 0;
    AIDocumentSetup setup = {};
    SPErr status = sAIDocument->GetDocumentSetup(&setup);
    if (status != kSPNoError) return status;
    const AIRealPoint pageCenter = {setup.width * 0.5f, setup.height * 0.5f};
    const CopyMove move = copyMove(settings, call.reflectionIndex + 1, even);

    int32_t styleCount = 0;
    status = sAIArtStyle->CountNamedArtStyles(&styleCount);
    if (status != kSPNoError) return status;
    const int32_t swatchCount = sAISwatchList->CountSwatches(nullptr);

    AIArtHandle copy = nullptr;
    status = placeCopy(settings, call, move, &copy);
    if (status != kSPNoError) return status;
    status = styleCopy(settings, call, copy, styleCount, swatchCount);
    if (status != kSPNoError) return status;
    repeatAndClampColors(settings, copy, even);
    return finishCopy(settings, call, copy, pageCenter);
}

} // namespace

void buildReflection(AIArtHandle element, int16_t colorModel, int32_t reflectionIndex, AIReal styleFactor,
                     AIReal widthFactor, AIReal opacityFactor, int32_t placeBelow) {
    // A failure only ends this reflection; the caller goes on with the next one.
    reflect(*globalsBlock,
            {element, colorModel, reflectionIndex, styleFactor, widthFactor, opacityFactor, placeBelow});
}
