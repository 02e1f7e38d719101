#include "plugin/finish/FinishZigzagArt.h"

#include "plugin/finish/ArtSteps.h"
#include "plugin/finish/ColorModes.h"
#include "plugin/finish/PatternTile.h"
#include "plugin/finish/Reflection.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"
#include "plugin/finish/Weave.h"

namespace {

constexpr float kFullTurnDegrees = 360.0f;

// What the two variants do differently, resolved once per call.
struct Finish {
    AIArtHandle art;
    GenerationContext& context;
    bool perElement;
    int32_t elementIndex; // k per element, N for the whole path
};

// The three rotations about the art's centre, in the variant's order. A rotation by 0 makes no transform.
SPErr rotate(const ToolSettings& settings, const Finish& f) {
    auto turn = [&f](AIReal angle) { return angle != 0.0f ? rotateAboutCenter(f.art, angle) : kSPNoError; };
    auto randomTurn = [&f, &settings]() {
        if (!settings.randomRotation) return kSPNoError;
        return rotateAboutCenter(f.art, sAIRealMath->DegreeToRadian(randomDraw() * kFullTurnDegrees));
    };
    SPErr status = turn(f.context.rotation);
    if (status != kSPNoError) return status;
    if (f.perElement) {
        status = turn(f.context.slant);
        if (status != kSPNoError) return status;
        return randomTurn();
    }
    status = randomTurn();
    if (status != kSPNoError) return status;
    return turn(f.context.slant);
}

// Tiles the art (or its shadow) about the pattern mode's centre. The art's bounds are read whatever the mode,
// and so is the weave decision for the tile copies.
SPErr tile(const ToolSettings& settings, const Finish& f, AIArtHandle art) {
    AIRealPoint own = {};
    SPErr status = artCenter(art, &own);
    if (status != kSPNoError) return status;
    const int32_t below = weavePlacesBeneath(f.context.reflectionsMade, f.elementIndex, weaveDefaultResult());
    AIRealPoint center = {};
    if (!patternTileCenter(settings.patternMode, f.context.pageCenter, own, &center)) return kSPNoError;
    return makePatternTile(art, below, center.h, center.v);
}

SPErr dropShadow(const ToolSettings& settings, const Finish& f) {
    AIArtHandle shadow = nullptr;
    SPErr status = castShadow(f.art, f.art, f.context.colorModel, &shadow);
    if (status != kSPNoError) return status;
    return tile(settings, f, shadow);
}

// The random style, the colour modes, the pen pressure, and the random and jittered paint.
SPErr style(const ToolSettings& settings, const Finish& f) {
    const GenerationContext& context = f.context;
    AIArtHandle art = f.art;
    if (settings.randomStyle) {
        SPErr status = applyRandomStyle(art, context.namedStyleCount, settings.pressureStyleFactor != 0,
                                        context.styleFactor);
        if (status != kSPNoError) return status;
    }

    const int32_t step = f.perElement ? f.elementIndex : 0;
    applyFillColorMode(settings.fillColorMode, art, context.swatchCount, settings.fillSwatchIndex,
                       context.fillCycle / 2, step, context.fillCycle);
    applyStrokeColorMode(settings.strokeColorMode, art, context.swatchCount, settings.strokeSwatchIndex,
                         context.strokeCycle / 2, step, context.strokeCycle);

    applyPressureAndRandomPaint(settings, art, context.widthFactor, context.opacityFactor);
    return kSPNoError;
}

// The rotations, the initial and random scaling and the path jitter.
SPErr transform(const ToolSettings& settings, const Finish& f) {
    const GenerationContext& context = f.context;
    AIArtHandle art = f.art;
    SPErr status = rotate(settings, f);
    if (status != kSPNoError) return status;
    if (context.scaleX != 1.0f || context.scaleY != 1.0f) {
        status = scaleAboutCenter(art, context.scaleX, context.scaleY);
        if (status != kSPNoError) return status;
    }
    if (settings.randomScaling) {
        const float r1 = randomDraw();
        const float r2 = randomDraw();
        status = scaleAboutCenter(art, r2 * context.scaleX, r1 * context.scaleY);
        if (status != kSPNoError) return status;
    }

    // Path jitter: all four numbers are drawn every time, each sign before its magnitude.
    const float signX = randomSign();
    const AIReal tx = randomDraw() * settings.pathJitterX * signX;
    const float signY = randomSign();
    const AIReal ty = randomDraw() * settings.pathJitterY * signY;
    if (tx != 0.0f || ty != 0.0f) return translateArt(art, tx, ty);
    return kSPNoError;
}

// The reflections, the symbol, the shadow, the pattern tiles and the warp.
SPErr reflectAndPlace(const ToolSettings& settings, const Finish& f) {
    GenerationContext& context = f.context;
    AIArtHandle art = f.art;
    for (int32_t i = 0; i < settings.numberOfReflections; ++i)
        buildReflection(art, context.colorModel, i, context.styleFactor, context.widthFactor,
                        context.opacityFactor, weavePlacesBeneath(i, f.elementIndex, weaveDefaultResult()));
    if (settings.numberOfReflections >= 1) context.reflectionsMade = settings.numberOfReflections;

    SPErr status = kSPNoError;
    if (settings.symbolizeZigzag) {
        AIPatternHandle symbol = nullptr;
        status = sAISymbol->NewSymbolPattern(&symbol, art, 0);
        if (status != kSPNoError) return status;
    }
    if (settings.dropShadow) {
        status = dropShadow(settings, f);
        if (status != kSPNoError) return status;
    }
    status = tile(settings, f, art);
    if (status != kSPNoError) return status;
    if (settings.randomWarp) return warpRandomly(art);
    return kSPNoError;
}

SPErr finish(const ToolSettings& settings, const Finish& f) {
    SPErr status = style(settings, f);
    if (status != kSPNoError) return status;
    status = transform(settings, f);
    if (status != kSPNoError) return status;
    return reflectAndPlace(settings, f);
}

} // namespace

SPErr finishZigzagArt(AIArtHandle art, GenerationContext& context, FinishVariant variant,
                      int32_t elementIndex) {
    return finish(*globalsBlock, {art, context, variant == FinishVariant::PerElement, elementIndex});
}
