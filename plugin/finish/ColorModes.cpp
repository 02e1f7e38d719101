#include "plugin/finish/ColorModes.h"

#include <iterator>

#include "plugin/finish/ArtSteps.h"
#include "plugin/suites/PluginSuites.h"

namespace {

// The first swatch the lookups may use: entries 0 and 1 of a swatch list are not ordinary colours.
constexpr int32_t kFirstOrdinarySwatch = 2;

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
        for (int i = 0; i < colorValueCount(c); ++i)
            c.value[i] = c.value[i] - c.value[i] * f;
    }
}

// Darker by f: the mirror of lighten.
void darken(AIColor& c, float f) {
    if (c.kind == kThreeColor) {
        for (int i = 0; i < 3; ++i)
            c.value[i] = c.value[i] - c.value[i] * f;
    } else {
        for (int i = 0; i < colorValueCount(c); ++i)
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

// Each mode changes the colour `c` and may set `paint`, which turns the fill or stroke on.
using ModeStep = void (*)(const ModeCall& call, AIBoolean& paint, AIColor& c);

void leaveUnchanged(const ModeCall&, AIBoolean&, AIColor&) {}

void toWhite(const ModeCall& call, AIBoolean&, AIColor& c) {
    lighten(c, fraction(call.step, call.total));
}

void toBlack(const ModeCall& call, AIBoolean&, AIColor& c) {
    darken(c, fraction(call.step, call.total));
}

void randomColors(const ModeCall&, AIBoolean&, AIColor& c) {
    if (c.kind == kFourColor) {
        c.value[0] = randomDraw();
        c.value[1] = randomDraw();
        c.value[2] = randomDraw();
        c.value[3] = randomDraw() * c.value[3];
    } else {
        for (int i = 0; i < colorValueCount(c); ++i)
            c.value[i] = randomDraw();
    }
}

void randomSwatches(const ModeCall& call, AIBoolean& paint, AIColor& c) {
    const int32_t drawn = truncToInt32(randomDraw() * static_cast<float>(call.swatchCount));
    const int32_t index = drawn < INT32_MAX ? drawn + 1 : drawn;
    readSwatch(index, call.swatchCount, &c);
    paint = 1;
}

// Lighter up to the midpoint, darker again past it.
void toWhiteMidpoint(const ModeCall& call, AIBoolean&, AIColor& c) {
    const int32_t d = call.step <= call.midpoint ? call.step : call.midpoint - call.step;
    lighten(c, fraction(d, call.total));
}

void toSwatch(const ModeCall& call, AIBoolean& paint, AIColor& c) {
    const int count = colorValueCount(c);
    const float f = fraction(call.step, call.total);
    paint = 1;
    AIColor swatch = c;
    readSwatch(call.swatchIndex, call.swatchCount, &swatch);
    for (int i = 0; i < count; ++i) {
        const float x = c.value[i];
        const float t = swatch.value[i];
        c.value[i] = x <= t ? x + (t - x) * f : x - (x - t) * f;
    }
}

void toHalfColor(const ModeCall& call, AIBoolean&, AIColor& c) {
    const float half = halfFraction(call.step, call.total);
    for (int i = 0; i < colorValueCount(c); ++i)
        c.value[i] = c.value[i] - c.value[i] * half;
}

void toInverted(const ModeCall& call, AIBoolean&, AIColor& c) {
    const float f = fraction(call.step, call.total);
    for (int i = 0; i < colorValueCount(c); ++i) {
        const float x = c.value[i];
        c.value[i] = x <= 1.0f - x ? x + ((1.0f - x) - x) * f : x - (x - (1.0f - x)) * f;
    }
}

// Every odd step white (or black): four-colour and gray are white at 0, three-colour at 1.
void alternateFlat(const ModeCall& call, AIColor& c, bool white) {
    if (!isOddStep(call.step)) return;
    const float value = (c.kind == kThreeColor) == white ? 1.0f : 0.0f;
    for (int i = 0; i < colorValueCount(c); ++i)
        c.value[i] = value;
}

void alternateWhite(const ModeCall& call, AIBoolean&, AIColor& c) {
    alternateFlat(call, c, true);
}

void alternateBlack(const ModeCall& call, AIBoolean&, AIColor& c) {
    alternateFlat(call, c, false);
}

void alternateSwatch(const ModeCall& call, AIBoolean& paint, AIColor& c) {
    paint = 1;
    if (!isOddStep(call.step)) return;
    AIColor swatch = c;
    readSwatch(call.swatchIndex, call.swatchCount, &swatch);
    for (int i = 0; i < colorValueCount(c); ++i)
        c.value[i] = swatch.value[i];
}

void alternateInverted(const ModeCall& call, AIBoolean& paint, AIColor& c) {
    paint = 1;
    if (!isOddStep(call.step)) return;
    // The swatch is looked up as in the other swatch modes, though the inverse does not use it: the host sees
    // the same calls, and a failing read among them counts the same.
    AIColor unused = c;
    readSwatch(call.swatchIndex, call.swatchCount, &unused);
    for (int i = 0; i < colorValueCount(c); ++i)
        c.value[i] = 1.0f - c.value[i];
}

void toHalfColorInverted(const ModeCall& call, AIBoolean&, AIColor& c) {
    if (!call.isFill) return;
    const float half = halfFraction(call.step, call.total);
    for (int i = 0; i < colorValueCount(c); ++i) {
        const float x = c.value[i];
        const float delta = (1.0f - x) * half;
        c.value[i] = x <= 1.0f - x * 0.5f ? x + delta : x - delta;
    }
}

void tenPercentReduction(const ModeCall& call, AIBoolean&, AIColor& c) {
    if (!call.isFill) return;
    const float f = fraction(call.step, call.total);
    for (int i = 0; i < colorValueCount(c); ++i)
        c.value[i] = c.value[i] - 0.9f * c.value[i] * f;
}

struct ModeEntry {
    ColorMode mode;
    ModeStep step;
};

// The step of every mode, in the modes' order. Mode 0 never reaches its step: it leaves the style unread.
constexpr ModeEntry kModeSteps[] = {
    {kColorModeIgnore, leaveUnchanged},
    {kColorModeToWhite, toWhite},
    {kColorModeToBlack, toBlack},
    {kColorModeRandomColors, randomColors},
    {kColorModeRandomSwatches, randomSwatches},
    {kColorModeToWhiteMidpoint, toWhiteMidpoint},
    {kColorModeToSwatch, toSwatch},
    {kColorModeToHalfColor, toHalfColor},
    {kColorModeToInverted, toInverted},
    {kColorModeAlternateWhite, alternateWhite},
    {kColorModeAlternateBlack, alternateBlack},
    {kColorModeAlternateSwatch, alternateSwatch},
    {kColorModeAlternateInverted, alternateInverted},
    {kColorModeToHalfColorInverted, toHalfColorInverted},
    {kColorModeTenPercentReduction, tenPercentReduction},
};

constexpr bool everyModeInOrder() {
    if (std::size(kModeSteps) != kColorModeCount) return false;
    for (int32_t mode = 0; mode < kColorModeCount; ++mode)
        if (kModeSteps[mode].mode != mode || kModeSteps[mode].step == nullptr) return false;
    return true;
}
static_assert(everyModeInOrder(), "kModeSteps holds one step for every colour mode, in the modes' order");

void applyMode(const ModeCall& call, AIBoolean& paint, AIColor& c) {
    // No such mode: the style is read and written unchanged.
    if (call.mode < 0 || call.mode >= kColorModeCount) return;
    kModeSteps[call.mode].step(call, paint, c);
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

int colorValueCount(const AIColor& color) {
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

void applyFillColorMode(int32_t mode, AIArtHandle art, int32_t swatchCount, int32_t swatchIndex,
                        int32_t midpoint, int32_t step, int32_t total) {
    applyColorMode({mode, swatchCount, swatchIndex, midpoint, step, total, true}, art);
}

void applyStrokeColorMode(int32_t mode, AIArtHandle art, int32_t swatchCount, int32_t swatchIndex,
                          int32_t midpoint, int32_t step, int32_t total) {
    applyColorMode({mode, swatchCount, swatchIndex, midpoint, step, total, false}, art);
}
