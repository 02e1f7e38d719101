// Fill and stroke colour modes: how the colour of one member of a run of elements or reflections changes with
// its step s out of a total T.
#ifndef ZZ_PLUGIN_FINISH_COLOR_MODES_H
#define ZZ_PLUGIN_FINISH_COLOR_MODES_H

#include <cstdint>

#include "ZZTypes.h"

// The colour modes as the fill and stroke colour lists number them.
enum ColorMode : int32_t {
    kColorModeIgnore = 0,
    kColorModeToWhite = 1,
    kColorModeToBlack = 2,
    kColorModeRandomColors = 3,
    kColorModeRandomSwatches = 4,
    kColorModeToWhiteMidpoint = 5,
    kColorModeToSwatch = 6,
    kColorModeToHalfColor = 7,
    kColorModeToInverted = 8,
    kColorModeAlternateWhite = 9,
    kColorModeAlternateBlack = 10,
    kColorModeAlternateSwatch = 11,
    kColorModeAlternateInverted = 12,
    kColorModeToHalfColorInverted = 13, // fill only
    kColorModeTenPercentReduction = 14, // fill only
    kColorModeCount                     // one past the last mode: the table of modes is checked against it
};

// How many values of a colour the modes change: one for gray, four for four-colour, three for three-colour;
// 0 for every other kind, which the modes leave alone.
int colorValueCount(const AIColor& color);

// Reads the art's path style, changes its fill (or stroke) colour by `mode` for step `step` of `total`, and
// writes the style back. Mode 0 makes no host call; host results are ignored. A total of 0 counts as no
// progress at all (s / T taken as 0). Swatch modes use the swatch `swatchIndex` (or a random one) of the
// document's `swatchCount` swatches, never one of the list's first two entries; a swatch that cannot be read
// leaves the colour as it was.
void applyFillColorMode(int32_t mode, AIArtHandle art, int32_t swatchCount, int32_t swatchIndex,
                        int32_t midpoint, int32_t step, int32_t total);
void applyStrokeColorMode(int32_t mode, AIArtHandle art, int32_t swatchCount, int32_t swatchIndex,
                          int32_t midpoint, int32_t step, int32_t total);

#endif
