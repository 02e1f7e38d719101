// The values one generation computes once and hands with the art to the finishing pipeline.
#ifndef ZZ_PLUGIN_FINISH_GENERATION_CONTEXT_H
#define ZZ_PLUGIN_FINISH_GENERATION_CONTEXT_H

#include <cstdint>

#include "ZZTypes.h"

struct GenerationContext {
    AIRealPoint pressPoint;  // P, the start corner
    AIRealPoint endPoint;    // E, the end corner (the drag point, vertically locked when asked)
    AIReal midX;             // the vertical midline of the zigzag, Px + (Ex - Px) / 2
    int16_t colorModel;      // the document's colour model: 0 gray, 1 RGB, 2 CMYK
    int32_t swatchCount;     // swatches of the document's swatch list
    int32_t namedStyleCount; // named graphic styles of the document
    AIRealPoint pageCenter;  // half the page width, half the page height
    AIReal rotation;         // radians, pen pressure applied
    AIReal scaleX;           // initial scaling as factors
    AIReal scaleY;
    AIReal slant;       // radians: the angle from P to E when the slant follows the cursor, else 0
    AIReal styleFactor; // pen-pressure factors, 1.0 when their options are off
    AIReal widthFactor;
    AIReal opacityFactor;
    int32_t fillCycle; // colour cycle lengths of the colour modes
    int32_t strokeCycle;
    int32_t reflectionsMade; // -1, or the number of reflections the finishing made last
};

#endif
