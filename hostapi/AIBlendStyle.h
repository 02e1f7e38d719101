/* AIBlendStyle.h - opacity and blending mode of art. */
#ifndef ZZ_AI_BLEND_STYLE_H
#define ZZ_AI_BLEND_STYLE_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIBlendStyleSuite "AI Blend Style Suite"
#define kAIBlendStyleSuiteVersion 2

typedef struct AIBlendStyleSuite {
    /* [any message] Returns the opacity of `art`, 0 to 1 (1 for an invalid handle). */
    AIReal(SPAPI* GetOpacity)(AIArtHandle art);
    /* [any message] Sets the opacity of `art`; values outside 0 to 1 are clamped. Returns 0,
     * kSPBadHandleError. */
    SPErr(SPAPI* SetOpacity)(AIArtHandle art, AIReal opacity);
    /* [any message] Returns the blending mode of `art`, 0 to 15. */
    int32_t(SPAPI* GetBlendingMode)(AIArtHandle art);
    /* [any message] Sets the blending mode, 0 (normal) to 15 (luminosity).
       Returns 0, kSPBadHandleError, kSPBadParameterError (mode out of range). */
    SPErr(SPAPI* SetBlendingMode)(AIArtHandle art, int32_t mode);
} AIBlendStyleSuite;

ZZ_EXTERN_C_END

#endif
