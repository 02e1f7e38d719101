// The reflection builder: one shifted, turned and scaled copy of a zigzag element, styled and decorated like
// the element itself.
#ifndef ZZ_PLUGIN_FINISH_REFLECTION_H
#define ZZ_PLUGIN_FINISH_REFLECTION_H

#include <cstdint>

#include "ZZTypes.h"

// The repeat colour list: what even reflections do to their fill and stroke colours.
enum RepeatColorMode : int32_t {
    kRepeatColorIgnore = 0,
    kRepeatAlternateInvert = 1,
    kRepeatAlternateBlack = 2,
    kRepeatAlternateReduced = 3,
    kRepeatAlternateDoubled = 4
};

// Makes reflection `reflectionIndex` (0, 1, ...) of `element`, which is only read. `colorModel` is the
// document's colour model as the generation read it, the factors are the pen-pressure factors (1 when not in
// use), and a non-zero `placeBelow` puts the new art beneath all art. Multiplies the running reflection scale
// factors of the settings once. The first failing host call ends the builder; what it made stays.
void buildReflection(AIArtHandle element, int16_t colorModel, int32_t reflectionIndex, AIReal styleFactor,
                     AIReal widthFactor, AIReal opacityFactor, int32_t placeBelow);

#endif
