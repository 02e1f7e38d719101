#include "plugin/finish/ColorModes.h"

#include "plugin/finish/ArtSteps.h"
#include "plugin/suites/PluginSuites.h"

namespace {

// The first swatch the lookups may use: entries 0 and 1 of a swatch list are not ordinary colours.
constexpr int32_t kFirstOrdinarySwatch = 2;

// How many values of a colour the modes change: one for gray, four for four-colour, three for three-colour;
// 0 for every other kind.
int valueCount(const AIColor& color) {
    switch (color.kind) {
    case kGrayColor:
        return 1;
    case kFourColor:
        return 4;
    case kThreeColor:
        return 3;
    default:
        return 0;
    }
}

bool isOddStep(int32_t step) {
    return step % 2 == 1;
}

// s / T, or 0 for a total of 0.
float fraction(int32_t numerator, int32_t total) {
    if (total == 0) return 0.0f;
    return static_cast<float>(numerator) / static_cast<float>(total);
}

// s / (2 T), or 0 for a total of 0.
float halfFraction(int32_t numerator, int32_t total) {
    if (total == 0) return 0.0f;
    return static_cast<float>(numerator) / (2.0f * static_cast<float>(total));
}

// Swatch number `index` after the lookup's rules: capped at the swatch count, not negative, and never one of
// the first two entries.
int32_t swatchLookupIndex(int32_t index, int32_t swatchCount) {
    if (index > swatchCount) index = swatchCount;
    if (index < 0) index = 0;
    if (index == 0 || index == 1) index = kFirstOrdinarySwatch;
    return index;
}

// Reads the colour of swatch `index` into *color; false (and *color untouched) when there is none.
bool readSwatch(int32_t index, int32_t swatchCount, AIColor* color) {
    AISwatchRef swatch = sAISwatchList->GetNthSwatch(nullptr, swatchLookupIndex(index, swatchCount));
    AIColor read = {};
    if (sAISwatchList->GetSwatchColor(swatch, &read) != kSPNoError) return false;
    *color = read;
    return true;
}

// Lighter by f: towards 0 for gray and four-colour (all four values), towards 1 for three-colour.
void lighten(AIColor& c, float f) {
    if (c.kind == kThreeColor) {
        for (int i = 0; i < 3; ++i)
            c.value[i] = c.value[i] + (1.0f - c.value[i]) * f;
    } else {
        for (int i = 0; i < valueCount(c); ++i)
            c.value[i] = c.value[i] - c.value[i] * f;
    }
}

// Darker by f: the mirror of lighten.
void darken(AIColor& c, float f) {
    if (c.kind == kThreeColor) {
        for (int i = 0; i < 3; ++i)
            c.value[i] = c.value[i] - c.value[i] * f;
    } else {
        for (int i = 0; i < valueCount(c); ++i)
            c.value[i] = c.value[i] + (1.0f - c.value[i]) * f;
    }
}

// The colour of one art changed by one mode. `isFill` allows the fill-only modes.
struct ModeCall {
    int32_t mode;
    int32_t swatchCount;
    int32_t swatchIndex;
    int32_t midpoint;
    int32_t step;
    int32_t total;
    bool isFill;
};

void applyMode(const ModeCall& call, AIBoolean& paint, AIColor& c) {
    const int count = valueCount(c);
    const float f = fraction(call.step, call.total);
    switch (call.mode) {
    case kColorModeToWhite:
        lighten(c, f);
        break;
    case kColorModeToBlack:
        darken(c, f);
        break;
    case kColorModeRandomColors:
        if (c.kind == kFourColor) {
            c.value[0] = randomDraw();
            c.value[1] = randomDraw();
            c.value[2] = randomDraw();
            c.value[3] = randomDraw() * c.value[3];
        } else {
            for (int i = 0; i < count; ++i)
                c.value[i] = randomDraw();
        }
        break;
    case kColorModeRandomSwatches: {
        const int32_t drawn = truncToInt32(randomDraw() * static_cast<float>(call.swatchCount));
        const int32_t index = drawn < INT32_MAX ? drawn + 1 : drawn;
        readSwatch(index, call.swatchCount, &c);
        paint = 1;
        break;
    }
    case kColorModeToWhiteMidpoint: {
        // Lighter up to the midpoint, darker again past it.
        const int32_t d = call.step <= call.midpoint ? call.step : call.midpoint - call.step;
        lighten(c, fraction(d, call.total));
        break;
    }
    case kColorModeToSwatch: {
        paint = 1;
        AIColor swatch = c;
        readSwatch(call.swatchIndex, call.swatchCount, &swatch);
        for (int i = 0; i < count; ++i) {
            const float x = c.value[i];
            const float t = swatch.value[i];
            c.value[i] = x <= t ? x + (t - x) * f : x - (x - t) * f;
        }
        break;
    }
    case kColorModeToHalfColor: {
        const float half = halfFraction(call.step, call.total);
        for (int i = 0; i < count; ++i)
            c.value[i] = c.value[i] - c.value[i] * half;
        break;
    }
    case kColorModeToInverted:
        for (int i = 0; i < count; ++i) {
            const float x = c.value[i];
            c.value[i] = x <= 1.0f - x ? x + ((1.0f - x) - x) * f : x - (x - (1.0f - x)) * f;
        }
        break;
    case kColorModeAlternateWhite:
    case kColorModeAlternateBlack: {
        if (!isOddStep(call.step)) break;
        const bool white = call.mode == kColorModeAlternateWhite;
        // Four-colour and gray are white at 0, three-colour at 1.
        const float value = (c.kind == kThreeColor) == white ? 1.0f : 0.0f;
        for (int i = 0; i < count; ++i)
            c.value[i] = value;
        break;
    }
    case kColorModeAlternateSwatch: {
        paint = 1;
        if (!isOddStep(call.step)) break;
        AIColor swatch = c;
        readSwatch(call.swatchIndex, call.swatchCount, &swatch);
        for (int i = 0; i < count; ++i)
            c.value[i] = swatch.value[i];
        break;
    }
    case kColorModeAlternateInverted: {
        paint = 1;
        if (!isOddStep(call.step)) break;
        // The swatch is looked up as in the other swatch modes, though the inverse does not use it: the host
        // sees the same calls, and a failing read among them counts the same.
        AIColor unused = c;
        readSwatch(call.swatchIndex, call.swatchCount, &unused);
        for (int i = 0; i < count; ++i)
            c.value[i] = 1.0f - c.value[i];
        break;
    }
    case kColorModeToHalfColorInverted: {
        if (!call.isFill) break;
        const float half = halfFraction(call.step, call.total);
        for (int i = 0; i < count; ++i) {
            const float x = c.value[i];
            const float delta = (1.0f - x) * half;
            c.value[i] = x <= 1.0f - x * 0.5f ? x + delta : x - delta;
        }
        break;
    }
    case kColorModeTenPercentReduction:
        if (!call.isFill) break;
        for (int i = 0; i < count; ++i)
            c.value[i] = c.value[i] - 0.9f * c.value[i] * f;
        break;
    default:
        break; // no such mode: the style is read and written unchanged
    }
}

void applyColorMode(const ModeCall& call, AIArtHandle art) {
    if (call.mode == kColorModeIgnore) return;
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(art, &style);
    if (call.isFill)
        applyMode(call, style.fillPaint, style.fill.color);
    else
        applyMode(call, style.strokePaint, style.stroke.color);
    sAIPathStyle->SetPathStyle(art, &style);
}

} // namespace

void applyFillColorMode(int32_t mode, AIArtHandle art, int32_t swatchCount, int32_t swatchIndex,
                        int32_t midpoint, int32_t step, int32_t total) {
    applyColorMode({mode, swatchCount, swatchIndex, midpoint, step, total, true}, art);
}

void applyStrokeColorMode(int32_t mode, AIArtHandle art, int32_t swatchCount, int32_t swatchIndex,
                          int32_t midpoint, int32_t step, int32_t total) {
    applyColorMode({mode, swatchCount, swatchIndex, midpoint, step, total, false}, art);
}
