#include "plugin/tool/GenerationDriver.h"

#include "plugin/finish/ArtSteps.h"
#include "plugin/designs/DesignTemplates.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"
#include "plugin/finish/FinishZigzagArt.h"
#include "plugin/finish/GenerationContext.h"
#include "plugin/finish/Weave.h"

namespace {

// The float nearest 1/255: the pen pressure scale.
constexpr float kPressureScale = 0.003921569f;
// Designs the modifier keys step through (0 to 59) and the random designs (0 to 61).
constexpr int32_t kLastSteppedDesign = 59;
constexpr float kRandomDesignRange = 62.0f;
// The element count the modifier key steps through, 1 to 100.
constexpr int32_t kLastSteppedElementCount = 100;
// The corner flag of every written segment: each anchor is a corner whose handles move independently.
constexpr AIBoolean kSegmentCorner = 1;

uint32_t modifierKeys() {
    return sADMTracker->GetModifiers(nullptr);
}

// value + 1, or `first` once that would pass `last` (also for the largest integer, which has no successor).
int32_t stepWrapping(int32_t value, int32_t last, int32_t first) {
    return value >= last ? first : value + 1;
}

// value - 1, staying at the smallest integer.
int32_t lessOne(int32_t value) {
    return value == INT32_MIN ? value : value - 1;
}

// Steps both design indexes by one, wrapping past the last stepped design, and loads each in turn.
void stepDesigns(ToolSettings& settings) {
    settings.designIndex1 = stepWrapping(settings.designIndex1, kLastSteppedDesign, 0);
    loadDesignTemplate(settings.designIndex1);
    settings.designIndex2 = stepWrapping(settings.designIndex2, kLastSteppedDesign, 0);
    loadDesignTemplate(settings.designIndex2);
}

// Loads the design of element k: random designs, or designIndex1 for even and designIndex2 (or designIndex1
// when linked) for odd elements.
void loadElementDesign(const ToolSettings& settings, bool odd) {
    if (settings.randomDesignType) {
        int32_t a = truncToInt32(randomDraw() * kRandomDesignRange);
        int32_t b = truncToInt32(randomDraw() * kRandomDesignRange);
        if (settings.linkZigzag2To1) b = a;
        loadDesignTemplate(a);
        loadDesignTemplate(b);
        return;
    }
    if (odd && !settings.linkZigzag2To1)
        loadDesignTemplate(settings.designIndex2);
    else
        loadDesignTemplate(settings.designIndex1);
}

// The running values of one generation's element loop.
struct ElementWalk {
    AIArtHandle path;
    int32_t segIndex;     // next segment number of the current path
    int32_t pointsSoFar;  // points written in this generation
    int32_t cap;          // points cap
    float step;           // vertical extent of one element
    float yBase;          // where the next element starts
    float factor;         // F, the cumulative horizontal factor
    float previousFactor; // Fprev
};

// The template value at `position`, or the end marker past the end of the template area.
float templateAt(const ToolSettings& settings, int32_t position) {
    if (position < 0 || position >= kDesignTemplateSlots) return kDesignEndMarker;
    return settings.designTemplate[position];
}

// Maps the loaded design template onto element k's slice and writes its points.
SPErr writeElementPoints(const ToolSettings& settings, const GenerationContext& context, bool odd,
                         ElementWalk& walk) {
    const AIRealPoint p = context.pressPoint;
    const AIRealPoint e = context.endPoint;
    const float yStep = odd ? settings.scalingPattern2BFactor : settings.scalingPattern1BFactor;
    const float scaleA = odd ? settings.scalingPattern2AFactor : settings.scalingPattern1AFactor;
    const float shiftX = odd ? settings.oddElementShiftX : settings.evenElementShiftX;
    const float shiftY = odd ? settings.oddElementShiftY : settings.evenElementShiftY;
    const bool scaled = !(settings.scalingPattern1AFactor == 1.0f &&
                          settings.scalingPattern2AFactor == 1.0f && walk.factor == 1.0f);

    for (int32_t i = 0; i < settings.maxPointsPerGroup; i += 2) {
        const float templateX = templateAt(settings, i);
        if (templateX == kDesignEndMarker || walk.pointsSoFar - 1 > walk.cap) break;

        float tx = templateX;
        if (settings.randomHorizontalDistance) tx = tx * randomDraw();
        float x = (e.h - p.h) * tx + p.h;

        float ty = templateAt(settings, i + 1);
        if (settings.randomVerticalDistance) ty = ty * randomDraw();
        float y = yStep * walk.step * ty + walk.yBase;

        float jy = 0.0f;
        if (settings.jitterPointsY != 0.0f) {
            float sign = randomSign();
            jy = sign * randomDraw() * settings.jitterPointsY;
        }
        float jx = 0.0f;
        if (settings.jitterPointsX != 0.0f) {
            float sign = randomSign();
            jx = sign * randomDraw() * settings.jitterPointsX;
        }

        // Points on the template's x = 0 axis never shift.
        const bool shifts = templateX != 0.0f;
        x = x + jx;
        if (shiftX != 0.0f && shifts) x = x + shiftX;

        // The first point of an element keeps the previous element's factor, which joins the elements.
        if (scaled) {
            const float g = i == 0 ? walk.previousFactor : walk.factor;
            x = context.midX + (x - context.midX) * scaleA * g;
        }

        bool written = true;
        if (odd) {
            if (settings.flattenAlternate)
                written = templateAt(settings, i + 2) == kDesignEndMarker;
            else if (settings.alternateMirror)
                x = context.midX - (x - context.midX);
        }
        if (settings.randomCreateElements && randomDraw() > 0.5f) written = false;
        if (!written) continue;

        y = y + jy;
        if (shiftY != 0.0f && shifts) y = y + shiftY;
        float r1 = 1.0f, r2 = 1.0f, r3 = 1.0f, r4 = 1.0f;
        if (settings.randomCurve) {
            r1 = randomDraw();
            r2 = randomDraw();
            r3 = randomDraw();
            r4 = randomDraw();
        }
        AIPathSegment segment;
        segment.p = {x, y};
        segment.in = {x + settings.curve1X * r1, y + settings.curve2X * r3};
        segment.out = {x + settings.curve1Y * r2, y + settings.curve2Y * r4};
        segment.corner = kSegmentCorner;
        // A path holds at most 32767 segments; the segment number must stay a 16-bit value.
        if (walk.segIndex > INT16_MAX) return kTooManySegmentsErr;
        SPErr error = sAIPath->SetPathSegments(walk.path, static_cast<int16_t>(walk.segIndex), 1, &segment);
        if (error != kSPNoError) return error;
        walk.segIndex += 1;
        walk.pointsSoFar += 1;
    }
    return kSPNoError;
}

} // namespace

SPErr generateZigzagArt(AIReal cursorX, AIReal cursorY, int16_t pressure) {
    ToolSettings& settings = *globalsBlock;

    // Slowdown gate: one drag event in applySlowdown + 1 generates, the others only count.
    if (static_cast<float>(settings.applySlowdown) != settings.dragEventCounter) {
        settings.dragEventCounter += 1.0f;
        return kSPNoError;
    }
    settings.dragPointX = cursorX;
    settings.dragPointY = cursorY;
    settings.dragEventCounter = 0.0f;

    // Without the trail (or with the alternate key held) this generation replaces the earlier ones of the
    // drag.
    const uint32_t trailModifiers = modifierKeys();
    const bool trail = settings.trailCursor != 0 && (trailModifiers & kAlternateModifier) == 0;
    if (!trail) sAIUndo->UndoChanges();

    GenerationContext generationContext = {};
    sAIDocument->GetDocumentColorModel(&generationContext.colorModel);
    generationContext.swatchCount = sAISwatchList->CountSwatches(nullptr);
    SPErr status = sAIArtStyle->CountNamedArtStyles(&generationContext.namedStyleCount);
    if (status != kSPNoError) return status;

    // Modifier keys, each test reading the keys afresh.
    if ((modifierKeys() & (kStepModifier | kAlternateModifier)) == (kStepModifier | kAlternateModifier))
        stepDesigns(settings);
    if ((modifierKeys() & (kStepModifier | kAlternateModifier)) == kStepModifier)
        settings.zigzagElements = stepWrapping(settings.zigzagElements, kLastSteppedElementCount, 1);
    if ((modifierKeys() & (kStepModifier | kMoveStartModifier)) == kMoveStartModifier) {
        settings.pressPointX = settings.dragPointX;
        settings.pressPointY = settings.dragPointY;
        return kSPNoError;
    }

    const AIRealPoint p = {settings.pressPointX, settings.pressPointY};
    AIRealPoint e = {settings.dragPointX, settings.dragPointY};
    if (settings.lockedVerticalHorizontal) e.v = settings.dragPointX;
    generationContext.pressPoint = p;
    generationContext.endPoint = e;

    generationContext.rotation = sAIRealMath->DegreeToRadian(settings.initialAngle);
    generationContext.scaleX = settings.initialScalingX * 0.01f;
    generationContext.scaleY = settings.initialScalingY * 0.01f;
    generationContext.slant = settings.slantMatchCursor ? sAIRealMath->AIRealPointAngle(&p, &e) : 0.0f;

    ElementWalk walk = {};
    walk.cap = settings.maxPointsPerZigzag;
    settings.cumulativeReflectScaleX = 1.0f;
    settings.cumulativeReflectScaleY = 1.0f;
    if (settings.randomMaxPoints) {
        walk.cap = truncToInt32(randomDraw() * static_cast<float>(walk.cap));
        if (walk.cap < 1) walk.cap = 1;
    }

    AIDocumentSetup setup = {};
    status = sAIDocument->GetDocumentSetup(&setup);
    if (status != kSPNoError) return status;
    generationContext.pageCenter = {setup.width * 0.5f, setup.height * 0.5f};
    if (settings.styleToSeparateElements) {
        // The colour cycles run over the elements of one generation.
        generationContext.fillCycle =
            settings.fillCycleLength != 0 ? settings.fillCycleLength : lessOne(settings.zigzagElements);
        generationContext.strokeCycle =
            settings.strokeCycleLength != 0 ? settings.strokeCycleLength : lessOne(settings.zigzagElements);
    } else {
        // Not stretched over the elements: the cycle lengths as set, as for the whole path.
        generationContext.fillCycle = settings.fillCycleLength != 0 ? settings.fillCycleLength : 1;
        generationContext.strokeCycle = settings.strokeCycleLength != 0 ? settings.strokeCycleLength : 1;
    }

    AIBoolean hasPressure = 0;
    status = sAITool->SystemHasPressure(&hasPressure);
    const float pressureFactor = hasPressure ? static_cast<float>(pressure) * kPressureScale : 1.0f;
    const float groupsFactor = settings.pressureGroups ? pressureFactor : 1.0f;
    const float rotationFactor = settings.pressureRotation ? pressureFactor : 1.0f;
    generationContext.styleFactor = settings.pressureStyleFactor ? pressureFactor : 1.0f;
    generationContext.widthFactor = settings.pressureWidth ? pressureFactor : 1.0f;
    generationContext.opacityFactor = settings.pressureOpacity ? pressureFactor : 1.0f;

    // A count beyond the integer range is taken as no element rather than as 2^31 - 1 of them.
    const float elementProduct = static_cast<float>(settings.zigzagElements) * groupsFactor;
    const int32_t elementCount = elementProduct < 2147483648.0f ? truncToInt32(elementProduct) : 0;
    const float dx = e.h - p.h;
    const float dy = e.v - p.v;
    generationContext.rotation = generationContext.rotation * rotationFactor;
    generationContext.midX = p.h - dx * -0.5f;
    generationContext.reflectionsMade = -1;
    if (dy == 0.0f && dx == 0.0f) return status;

    const bool separate = settings.separateElements != 0;
    if (!separate) {
        status = sAIArt->NewArt(kPathArt, kPlaceAboveAll, nullptr, &walk.path);
        if (status != kSPNoError) return status;
        walk.segIndex = 0;
    }

    walk.step = elementCount > 0 ? dy / static_cast<float>(elementCount) : 0.0f;
    walk.factor = 1.0f;
    walk.previousFactor = 1.0f;
    walk.pointsSoFar = 0;
    walk.yBase = p.v;
    const int32_t defaultBeneath = weaveDefaultResult();
    int32_t k = 0;
    for (; k < elementCount; ++k) {
        const bool odd = k % 2 == 1;
        generationContext.reflectionsMade = -1;
        const int32_t below = weavePlacesBeneath(kWeaveElementItself, k, defaultBeneath);
        if (separate) {
            walk.segIndex = 0;
            status =
                sAIArt->NewArt(kPathArt, below == 1 ? kPlaceBelowAll : kPlaceAboveAll, nullptr, &walk.path);
            if (status != kSPNoError) return status;
        }

        loadElementDesign(settings, odd);
        status = writeElementPoints(settings, generationContext, odd, walk);
        if (status != kSPNoError) return status;

        const float yStep = odd ? settings.scalingPattern2BFactor : settings.scalingPattern1BFactor;
        walk.previousFactor = walk.factor;
        walk.factor = walk.factor * settings.horizontalGroupScalingFactor;
        walk.yBase = walk.yBase + yStep * walk.step;

        if (separate) {
            if (settings.closedPath) status = sAIPath->SetPathClosed(walk.path, 1);
            status = finishZigzagArt(walk.path, generationContext, FinishVariant::PerElement, k);
            if (status != kSPNoError) return status;
        }
    }
    if (separate) return status;

    if (settings.closedPath) status = sAIPath->SetPathClosed(walk.path, 1);
    generationContext.fillCycle = settings.fillCycleLength != 0 ? settings.fillCycleLength : 1;
    generationContext.strokeCycle = settings.strokeCycleLength != 0 ? settings.strokeCycleLength : 1;
    return finishZigzagArt(walk.path, generationContext, FinishVariant::WholePath, k);
}
