/* AISwatchList.h - the swatches of a document. The first two entries of every list are not ordinary colours
   (the host's "none" and "registration" swatches). */
#ifndef ZZ_AI_SWATCH_LIST_H
#define ZZ_AI_SWATCH_LIST_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAISwatchListSuite "AI Swatch List Suite"
#define kAISwatchListSuiteVersion 4

typedef struct AISwatchListSuite {
    /* [any message] Returns the number of swatches of `list`; a null list means the current document's.
       0 without a document. */
    int32_t(SPAPI* CountSwatches)(AISwatchListRef list);
    /* [any message] Returns swatch `index` (0-based) of `list` (null: the current document's), or null when
       the index is outside the list. */
    AISwatchRef(SPAPI* GetNthSwatch)(AISwatchListRef list, int32_t index);
    /* [any message] Copies the colour of `swatch` into *color. Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* GetSwatchColor)(AISwatchRef swatch, AIColor* color);
} AISwatchListSuite;

ZZ_EXTERN_C_END

#endif
