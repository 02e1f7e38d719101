#include "plugin/finish/ArtSteps.h"

#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"

namespace {

// Blending modes the random blend mode draws from: 0 to 15 are the host's, 16 to 19 give the normal mode.
constexpr float kBlendModeRange = 20.0f;
constexpr float kColorJitter = 0.1f;
constexpr float kWidthJitter = 3.0f;
constexpr float kPressureWidthScale = 10.0f;
// How far a drop shadow lies from what casts it: 10 points right and 10 points down.
constexpr AIReal kShadowOffsetX = 10.0f;
constexpr AIReal kShadowOffsetY = -10.0f;
// Warp styles a warp draw can give: 0 to 17, of which 1 to 15 are the host's warps.
constexpr float kWarpStyleRange = 18.0f;
// Envelopes deform the art only, with fidelity 50.
constexpr AIEnvelopeOptions kEnvelopeOptions = {0, 50};

// A second draw that turns a jitter step around: r x 10 > 5. A draw of exactly 0.5 keeps the step.
bool jitterTurnsBack() {
    return randomDraw() * 10.0f > 5.0f;
}

float clampUnit(float value) {
    if (value < 0.0f) value = 0.0f;
    if (value > 1.0f) value = 1.0f;
    return value;
}

void jitterColor(AIColor& color) {
    int count = 0;
    if (color.kind == kFourColor || color.kind == kThreeColor)
        count = 3; // a four-colour black is never jittered
    else if (color.kind == kGrayColor)
        count = 1;
    for (int i = 0; i < count; ++i) {
        float step = randomDraw() * kColorJitter;
        if (jitterTurnsBack()) step = -step;
        color.value[i] = color.value[i] + step;
    }
    for (int i = 0; i < count; ++i)
        color.value[i] = clampUnit(color.value[i]);
}

void blackOf(AIColor& color, int16_t colorModel) {
    switch (colorModel) {
    case kDocGrayColor:
        color = AIColor{kGrayColor, {1.0f, 0.0f, 0.0f, 0.0f}};
        break;
    case kDocRGBColor:
        color = AIColor{kThreeColor, {0.0f, 0.0f, 0.0f, 0.0f}};
        break;
    case kDocCMYKColor:
        color = AIColor{kFourColor, {1.0f, 1.0f, 1.0f, 1.0f}};
        break;
    default:
        break;
    }
}

} // namespace

float randomDraw() {
    return sAIRandom->FloatRnd();
}

float randomSign() {
    return randomDraw() > 0.5f ? -1.0f : 1.0f;
}

int32_t truncToInt32(float value) {
    if (!(value == value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value < -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(value);
}

SPErr artCenter(AIArtHandle art, AIRealPoint* center) {
    AIRealRect bounds = {};
    SPErr status = sAIArt->GetArtBounds(art, &bounds);
    if (status != kSPNoError) return status;
    center->h = bounds.left - (bounds.right - bounds.left) * -0.5f;
    center->v = bounds.bottom - (bounds.top - bounds.bottom) * -0.5f;
    return kSPNoError;
}

SPErr transformArt(AIArtHandle art, const AIRealMatrix& matrix, int32_t flags) {
    return sAITransformArt->TransformArt(art, &matrix, 1.0f, flags);
}

SPErr rotateAboutCenter(AIArtHandle art, AIReal angle) {
    AIRealPoint c = {};
    SPErr status = artCenter(art, &c);
    if (status != kSPNoError) return status;
    AIRealMatrix m = {};
    sAIRealMath->AIRealMatrixSetTranslate(&m, -c.h, -c.v);
    sAIRealMath->AIRealMatrixConcatRotate(&m, angle);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, c.h, c.v);
    return transformArt(art, m, kTransformEverything);
}

SPErr scaleAboutCenter(AIArtHandle art, AIReal sx, AIReal sy) {
    AIRealPoint c = {};
    SPErr status = artCenter(art, &c);
    if (status != kSPNoError) return status;
    AIRealMatrix m = {};
    sAIRealMath->AIRealMatrixSetTranslate(&m, -c.h, -c.v);
    sAIRealMath->AIRealMatrixConcatScale(&m, sx, sy);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, c.h, c.v);
    return transformArt(art, m, kTransformEverything);
}

SPErr translateArt(AIArtHandle art, AIReal tx, AIReal ty) {
    AIRealMatrix m = {};
    sAIRealMath->AIRealMatrixSetTranslate(&m, tx, ty);
    return transformArt(art, m, kTransformEverything);
}

SPErr applyRandomStyle(AIArtHandle art, int32_t styleCount, bool scaleStyle, AIReal styleFactor) {
    int32_t index = truncToInt32(randomDraw() * static_cast<float>(styleCount));
    if (index == 0 && styleCount >= 1) index = 1;
    // With no named style, or with only one, the number names none: there is nothing to apply, and the
    // drawing goes on without a style rather than failing.
    if (index < 0 || index >= styleCount) return kSPNoError;
    AIArtStyleHandle style = nullptr;
    SPErr status = sAIArtStyle->GetNthNamedArtStyle(index, &style);
    if (status != kSPNoError) return status;
    status = sAIArtStyle->SetArtStyle(art, style);
    if (status != kSPNoError) return status;
    if (scaleStyle) {
        const AIReal factor = sAIArtStyle->GetArtStyleScaleFactor(art);
        sAIArtStyle->SetArtStyleScaleFactor(art, factor * styleFactor);
    }
    return kSPNoError;
}

void setPressureWidth(AIArtHandle art, AIReal widthFactor) {
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(art, &style);
    style.stroke.width = widthFactor * kPressureWidthScale;
    sAIPathStyle->SetPathStyle(art, &style);
}

void randomizeWidth(AIArtHandle art) {
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(art, &style);
    float width = randomDraw() * style.stroke.width;
    if (width < 0.0f) width = 0.0f;
    style.stroke.width = width;
    sAIPathStyle->SetPathStyle(art, &style);
}

void randomizeBlendMode(AIArtHandle art) {
    int32_t mode = truncToInt32(randomDraw() * kBlendModeRange);
    if (mode > kLastBlendingMode) mode = kNormalBlendingMode;
    sAIBlendStyle->SetBlendingMode(art, mode);
}

void jitterFillColor(AIArtHandle art) {
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(art, &style);
    jitterColor(style.fill.color);
    sAIPathStyle->SetPathStyle(art, &style);
}

void jitterStrokeColor(AIArtHandle art) {
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(art, &style);
    jitterColor(style.stroke.color);
    sAIPathStyle->SetPathStyle(art, &style);
}

void jitterWidth(AIArtHandle art) {
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(art, &style);
    float step = randomDraw() * kWidthJitter;
    if (jitterTurnsBack()) step = -step;
    float width = style.stroke.width + step;
    if (width < 0.0f) width = 0.0f;
    style.stroke.width = width;
    sAIPathStyle->SetPathStyle(art, &style);
}

void applyPressureAndRandomPaint(const ToolSettings& settings, AIArtHandle art, AIReal widthFactor,
                                 AIReal opacityFactor) {
    if (widthFactor != 1.0f) setPressureWidth(art, widthFactor);
    if (opacityFactor != 1.0f) sAIBlendStyle->SetOpacity(art, opacityFactor);
    if (settings.randomWidth) randomizeWidth(art);
    if (settings.randomOpacity) sAIBlendStyle->SetOpacity(art, randomDraw());
    if (settings.randomBlendMode) randomizeBlendMode(art);
    if (settings.jitterFill) jitterFillColor(art);
    if (settings.jitterStroke) jitterStrokeColor(art);
    if (settings.jitterWidth) jitterWidth(art);
}

SPErr warpRandomly(AIArtHandle art) {
    AIArtHandle shape = nullptr;
    SPErr status = sAIArt->DuplicateArt(art, kPlaceAboveAll, art, &shape);
    if (status != kSPNoError) return status;
    AIArtHandle arts[1] = {art};
    AIArtHandle envelope = nullptr;
    status = sAIEnvelope->MakeEnvelope(arts, 1, shape, &kEnvelopeOptions, &envelope);
    if (status != kSPNoError) return status;
    const int32_t style = truncToInt32(randomDraw() * kWarpStyleRange);
    const AIReal bendSign = randomSign();
    const AIReal bend = bendSign * randomDraw();
    const AIReal horizontalSign = randomSign();
    const AIReal horizontal = horizontalSign * randomDraw();
    const AIReal verticalSign = randomSign();
    const AIReal vertical = verticalSign * randomDraw();
    const AIBoolean rotate = randomDraw() > 0.5f ? 1 : 0;
    if (style < kFirstWarpStyle || style > kLastWarpStyle) return kSPNoError;
    return sAIEnvelope->ResetWithWarp(envelope, style, bend, horizontal, vertical, rotate);
}

SPErr castShadow(AIArtHandle art, AIArtHandle reference, int16_t colorModel, AIArtHandle* shadow) {
    SPErr status = sAIArt->DuplicateArt(art, kPlaceBelowAll, reference, shadow);
    if (status != kSPNoError) return status;
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(art, &style);
    if (style.fillPaint) blackOf(style.fill.color, colorModel);
    if (style.strokePaint) blackOf(style.stroke.color, colorModel);
    sAIPathStyle->SetPathStyle(*shadow, &style);
    return translateArt(*shadow, kShadowOffsetX, kShadowOffsetY);
}
