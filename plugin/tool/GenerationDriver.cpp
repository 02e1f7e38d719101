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

// What stays the same over one element's points: whether it is odd decides its scaling, shift and mirror.
struct ElementShape {
    bool odd;
    float yStep;  // the element's vertical scale
    float scaleA; // the element's horizontal scale
    float shiftX;
    float shiftY;
    bool scaled; // whether the horizontal scales (and the running factor) apply at all
};

ElementShape elementShape(const ToolSettings& settings, const ElementWalk& walk, bool odd) {
    ElementShape shape;
    shape.odd = odd;
    shape.yStep = odd ? settings.scalingPattern2BFactor : settings.scalingPattern1BFactor;
    shape.scaleA = odd ? settings.scalingPattern2AFactor : settings.scalingPattern1AFactor;
    shape.shiftX = odd ? settings.oddElementShiftX : settings.evenElementShiftX;
    shape.shiftY = odd ? settings.oddElementShiftY : settings.evenElementShiftY;
    shape.scaled = !(settings.scalingPattern1AFactor == 1.0f && settings.scalingPattern2AFactor == 1.0f &&
                     walk.factor == 1.0f);
    return shape;
}

// A random offset of up to `amount` either way, or 0 (and no random draw) when `amount` is 0.
float jitter(float amount) {
    float offset = 0.0f;
    if (amount != 0.0f) {
        float sign = randomSign();
        offset = sign * randomDraw() * amount;
    }
    return offset;
}

// The segment of the point (x, y) with the curve handles, each scaled by a random draw when asked.
AIPathSegment curvedSegment(const ToolSettings& settings, float x, float y) {
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
    return segment;
}

// Appends one segment to the walk's path. A path whose first segment cannot be written is removed again, so
// that a failed generation leaves no empty path in the document.
SPErr appendSegment(ElementWalk& walk, const AIPathSegment& segment) {
    // A path holds at most 32767 segments; the segment number must stay a 16-bit value.
    if (walk.segIndex > INT16_MAX) return kTooManySegmentsErr;
    SPErr error = sAIPath->SetPathSegments(walk.path, static_cast<int16_t>(walk.segIndex), 1, &segment);
    if (error != kSPNoError) {
        // The failure is the answer, whether or not the host can remove the path.
        if (walk.segIndex == 0) sAIArt->DisposeArt(walk.path);
        return error;
    }
    walk.segIndex += 1;
    walk.pointsSoFar += 1;
    return kSPNoError;
}

// Writes template point i (its x at i, its y at i + 1) of the element, unless the element leaves it out.
SPErr writeTemplatePoint(const ToolSettings& settings, const GenerationContext& context,
                         const ElementShape& shape, int32_t i, ElementWalk& walk) {
    const AIRealPoint p = context.pressPoint;
    const AIRealPoint e = context.endPoint;
    const float templateX = templateAt(settings, i);
    float tx = templateX;
    if (settings.randomHorizontalDistance) tx = tx * randomDraw();
    float x = (e.h - p.h) * tx + p.h;

    float ty = templateAt(settings, i + 1);
    if (settings.randomVerticalDistance) ty = ty * randomDraw();
    float y = shape.yStep * walk.step * ty + walk.yBase;

    const float jy = jitter(settings.jitterPointsY);
    const float jx = jitter(settings.jitterPointsX);

    // Points on the template's x = 0 axis never shift.
    const bool shifts = templateX != 0.0f;
    x = x + jx;
    if (shape.shiftX != 0.0f && shifts) x = x + shape.shiftX;

    // The first point of an element keeps the previous element's factor, which joins the elements.
    if (shape.scaled) {
        const float g = i == 0 ? walk.previousFactor : walk.factor;
        x = context.midX + (x - context.midX) * shape.scaleA * g;
    }

    bool written = true;
    if (shape.odd) {
        if (settings.flattenAlternate)
            written = templateAt(settings, i + 2) == kDesignEndMarker;
        else if (settings.alternateMirror)
            x = context.midX - (x - context.midX);
    }
    if (settings.randomCreateElements && randomDraw() > 0.5f) written = false;
    if (!written) return kSPNoError;

    y = y + jy;
    if (shape.shiftY != 0.0f && shifts) y = y + shape.shiftY;
    return appendSegment(walk, curvedSegment(settings, x, y));
}

// Maps the loaded design template onto element k's slice and writes its points.
SPErr writeElementPoints(const ToolSettings& settings, const GenerationContext& context, bool odd,
                         ElementWalk& walk) {
    const ElementShape shape = elementShape(settings, walk, odd);
    for (int32_t i = 0; i < settings.maxPointsPerGroup; i += 2) {
        if (templateAt(settings, i) == kDesignEndMarker || walk.pointsSoFar - 1 > walk.cap) break;
        SPErr error = writeTemplatePoint(settings, context, shape, i, walk);
        if (error != kSPNoError) return error;
    }
    return kSPNoError;
}

// Slowdown gate: one drag event in applySlowdown + 1 generates, the others only count. True when this one
// generates; it then holds the cursor as the drag point.
bool slowdownGateOpens(ToolSettings& settings, AIReal cursorX, AIReal cursorY) {
    if (static_cast<float>(settings.applySlowdown) != settings.dragEventCounter) {
        settings.dragEventCounter += 1.0f;
        return false;
    }
    settings.dragPointX = cursorX;
    settings.dragPointY = cursorY;
    settings.dragEventCounter = 0.0f;
    return true;
}

// The document's colour model and the counts of its swatches and named styles.
SPErr readDocumentCounts(GenerationContext& context) {
    sAIDocument->GetDocumentColorModel(&context.colorModel);
    context.swatchCount = sAISwatchList->CountSwatches(nullptr);
    return sAIArtStyle->CountNamedArtStyles(&context.namedStyleCount);
}

// The modifier keys, each test reading the keys afresh: step the designs or the element count, or move the
// start corner to the cursor. True when the start moved, which draws nothing.
bool applyModifierKeys(ToolSettings& settings) {
    if ((modifierKeys() & (kStepModifier | kAlternateModifier)) == (kStepModifier | kAlternateModifier))
        stepDesigns(settings);
    if ((modifierKeys() & (kStepModifier | kAlternateModifier)) == kStepModifier)
        settings.zigzagElements = stepWrapping(settings.zigzagElements, kLastSteppedElementCount, 1);
    if ((modifierKeys() & (kStepModifier | kMoveStartModifier)) == kMoveStartModifier) {
        settings.pressPointX = settings.dragPointX;
        settings.pressPointY = settings.dragPointY;
        return true;
    }
    return false;
}

// The corners, the turn, the initial scaling and the slant of this generation.
void placeCorners(const ToolSettings& settings, GenerationContext& context) {
    const AIRealPoint p = {settings.pressPointX, settings.pressPointY};
    AIRealPoint e = {settings.dragPointX, settings.dragPointY};
    if (settings.lockedVerticalHorizontal) e.v = settings.dragPointX;
    context.pressPoint = p;
    context.endPoint = e;

    context.rotation = sAIRealMath->DegreeToRadian(settings.initialAngle);
    context.scaleX = settings.initialScalingX * 0.01f;
    context.scaleY = settings.initialScalingY * 0.01f;
    context.slant = settings.slantMatchCursor ? sAIRealMath->AIRealPointAngle(&p, &e) : 0.0f;
}

// The most points the generation writes, at least 1; a random share of the setting when asked.
int32_t pointsCap(const ToolSettings& settings) {
    int32_t cap = settings.maxPointsPerZigzag;
    if (settings.randomMaxPoints) {
        cap = truncToInt32(randomDraw() * static_cast<float>(cap));
        if (cap < 1) cap = 1;
    }
    return cap;
}

// The page centre and the colour cycle lengths.
SPErr readPage(const ToolSettings& settings, GenerationContext& context) {
    AIDocumentSetup setup = {};
    SPErr status = sAIDocument->GetDocumentSetup(&setup);
    if (status != kSPNoError) return status;
    context.pageCenter = {setup.width * 0.5f, setup.height * 0.5f};
    if (settings.styleToSeparateElements) {
        // The colour cycles run over the elements of one generation.
        context.fillCycle =
            settings.fillCycleLength != 0 ? settings.fillCycleLength : lessOne(settings.zigzagElements);
        context.strokeCycle =
            settings.strokeCycleLength != 0 ? settings.strokeCycleLength : lessOne(settings.zigzagElements);
    } else {
        // Not stretched over the elements: the cycle lengths as set, as for the whole path.
        context.fillCycle = settings.fillCycleLength != 0 ? settings.fillCycleLength : 1;
        context.strokeCycle = settings.strokeCycleLength != 0 ? settings.strokeCycleLength : 1;
    }
    return kSPNoError;
}

// Applies the pen pressure to the factors it drives and gives the element count. Returns the host's answer
// to whether it has pressure at all, which a generation that draws nothing hands back.
SPErr applyPressure(const ToolSettings& settings, int16_t pressure, GenerationContext& context,
                    int32_t& elementCount) {
    AIBoolean hasPressure = 0;
    const SPErr status = sAITool->SystemHasPressure(&hasPressure);
    const float pressureFactor = hasPressure ? static_cast<float>(pressure) * kPressureScale : 1.0f;
    const float groupsFactor = settings.pressureGroups ? pressureFactor : 1.0f;
    const float rotationFactor = settings.pressureRotation ? pressureFactor : 1.0f;
    context.styleFactor = settings.pressureStyleFactor ? pressureFactor : 1.0f;
    context.widthFactor = settings.pressureWidth ? pressureFactor : 1.0f;
    context.opacityFactor = settings.pressureOpacity ? pressureFactor : 1.0f;

    // A count beyond the integer range is taken as no element rather than as 2^31 - 1 of them.
    const float elementProduct = static_cast<float>(settings.zigzagElements) * groupsFactor;
    elementCount = elementProduct < 2147483648.0f ? truncToInt32(elementProduct) : 0;
    context.rotation = context.rotation * rotationFactor;
    return status;
}

// Element k: a path of its own when the elements are separate, its design and points, and its finishing.
SPErr drawElement(const ToolSettings& settings, GenerationContext& context, ElementWalk& walk, int32_t k,
                  int32_t defaultBeneath) {
    const bool separate = settings.separateElements != 0;
    const bool odd = k % 2 == 1;
    context.reflectionsMade = -1;
    const int32_t below = weavePlacesBeneath(kWeaveElementItself, k, defaultBeneath);
    if (separate) {
        walk.segIndex = 0;
        SPErr status =
            sAIArt->NewArt(kPathArt, below == 1 ? kPlaceBelowAll : kPlaceAboveAll, nullptr, &walk.path);
        if (status != kSPNoError) return status;
    }

    loadElementDesign(settings, odd);
    SPErr status = writeElementPoints(settings, context, odd, walk);
    if (status != kSPNoError) return status;

    const float yStep = odd ? settings.scalingPattern2BFactor : settings.scalingPattern1BFactor;
    walk.previousFactor = walk.factor;
    walk.factor = walk.factor * settings.horizontalGroupScalingFactor;
    walk.yBase = walk.yBase + yStep * walk.step;

    if (!separate) return kSPNoError;
    // A path the host cannot close is finished open.
    if (settings.closedPath) sAIPath->SetPathClosed(walk.path, 1);
    return finishZigzagArt(walk.path, context, FinishVariant::PerElement, k);
}

// Draws the elements, each a path or all one path, and finishes the art. `status` is what to return when
// separate elements make no element at all.
SPErr drawElements(const ToolSettings& settings, GenerationContext& context, ElementWalk& walk,
                   int32_t elementCount, SPErr status) {
    const bool separate = settings.separateElements != 0;
    if (!separate) {
        status = sAIArt->NewArt(kPathArt, kPlaceAboveAll, nullptr, &walk.path);
        if (status != kSPNoError) return status;
        walk.segIndex = 0;
    }

    const float dy = context.endPoint.v - context.pressPoint.v;
    walk.step = elementCount > 0 ? dy / static_cast<float>(elementCount) : 0.0f;
    walk.factor = 1.0f;
    walk.previousFactor = 1.0f;
    walk.pointsSoFar = 0;
    walk.yBase = context.pressPoint.v;
    const int32_t defaultBeneath = weaveDefaultResult();
    int32_t k = 0;
    for (; k < elementCount; ++k) {
        status = drawElement(settings, context, walk, k, defaultBeneath);
        if (status != kSPNoError) return status;
    }
    if (separate) return status;

    // A path the host cannot close is finished open.
    if (settings.closedPath) sAIPath->SetPathClosed(walk.path, 1);
    context.fillCycle = settings.fillCycleLength != 0 ? settings.fillCycleLength : 1;
    context.strokeCycle = settings.strokeCycleLength != 0 ? settings.strokeCycleLength : 1;
    return finishZigzagArt(walk.path, context, FinishVariant::WholePath, k);
}

} // namespace

SPErr generateZigzagArt(AIReal cursorX, AIReal cursorY, int16_t pressure) {
    ToolSettings& settings = *globalsBlock;
    if (!slowdownGateOpens(settings, cursorX, cursorY)) return kSPNoError;

    // Without the trail (or with the alternate key held) this generation replaces the earlier ones of the
    // drag.
    const uint32_t trailModifiers = modifierKeys();
    const bool trail = settings.trailCursor != 0 && (trailModifiers & kAlternateModifier) == 0;
    // Art drawn beside the earlier generation's would be wrong: a failed undo ends the event with its status.
    SPErr status = trail ? kSPNoError : sAIUndo->UndoChanges();
    if (status != kSPNoError) return status;

    GenerationContext context = {};
    status = readDocumentCounts(context);
    if (status != kSPNoError) return status;
    if (applyModifierKeys(settings)) return kSPNoError;
    placeCorners(settings, context);

    ElementWalk walk = {};
    walk.cap = pointsCap(settings);
    settings.cumulativeReflectScaleX = 1.0f;
    settings.cumulativeReflectScaleY = 1.0f;
    status = readPage(settings, context);
    if (status != kSPNoError) return status;

    int32_t elementCount = 0;
    status = applyPressure(settings, pressure, context, elementCount);
    const AIRealPoint p = context.pressPoint;
    const AIRealPoint e = context.endPoint;
    const float dx = e.h - p.h;
    const float dy = e.v - p.v;
    context.midX = p.h - dx * -0.5f;
    context.reflectionsMade = -1;
    if (dy == 0.0f && dx == 0.0f) return status;
    return drawElements(settings, context, walk, elementCount, status);
}
