/* AITransformArt.h - affine transforms of art. */
#ifndef ZZ_AI_TRANSFORM_ART_H
#define ZZ_AI_TRANSFORM_ART_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1

typedef struct AITransformArtSuite {
    /* [any message] Applies `matrix` to `art` (and everything it holds): anchors and handles always when
       kTransformObjects is in `flags`; stroke widths are multiplied by `lineScale`.
       Returns 0, kSPBadHandleError, kSPBadParameterError. */
    SPErr(SPAPI* TransformArt)(AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale, int32_t flags);
} AITransformArtSuite;

ZZ_EXTERN_C_END

#endif
