/* AIPathStyle.h - fill and stroke of path art, read and written as one record. */
#ifndef ZZ_AI_PATH_STYLE_H
#define ZZ_AI_PATH_STYLE_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 5

typedef struct AIPathStyleSuite {
    /* [any message] Copies the path style of `art` into *style. For a group or compound path the style of its
       first path. Returns 0, kSPBadHandleError, kSPBadParameterError. */
    SPErr(SPAPI* GetPathStyle)(AIArtHandle art, AIPathStyle* style);
    /* [any message] Replaces the path style of `art` (of every path inside a container). Colour kinds the
       host does not know are refused. Returns 0, kSPBadHandleError, kSPBadParameterError. */
    SPErr(SPAPI* SetPathStyle)(AIArtHandle art, const AIPathStyle* style);
} AIPathStyleSuite;

ZZ_EXTERN_C_END

#endif
