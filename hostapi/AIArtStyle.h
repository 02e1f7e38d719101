/* AIArtStyle.h - graphic styles: named styles of the document and the style of art. */
#ifndef ZZ_AI_ART_STYLE_H
#define ZZ_AI_ART_STYLE_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIArtStyleSuite "AI Art Style Suite"
#define kAIArtStyleSuiteVersion 3

typedef struct AIArtStyleSuite {
    /* [any message] Stores the number of named graphic styles of the current document in *count.
       Returns 0, kNoDocumentErr, kSPBadParameterError. */
    SPErr(SPAPI* CountNamedArtStyles)(int32_t* count);
    /* [any message] Stores named style `index` (0-based) in *style. Returns 0, kSPBadParameterError. */
    SPErr(SPAPI* GetNthNamedArtStyle)(int32_t index, AIArtStyleHandle* style);
    /* [any message] Gives `art` the graphic style `style` (its path style and opacity).
       Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* SetArtStyle)(AIArtHandle art, AIArtStyleHandle style);
    /* [any message] Returns the scale factor of the graphic style on `art` (1 when it has none or the handle
       is invalid). */
    AIReal(SPAPI* GetArtStyleScaleFactor)(AIArtHandle art);
    /* [any message] Sets that factor; the host scales the style's stroke width by it.
       Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* SetArtStyleScaleFactor)(AIArtHandle art, AIReal factor);
} AIArtStyleSuite;

ZZ_EXTERN_C_END

#endif
