/* AISymbol.h - symbol definitions made from art. */
#ifndef ZZ_AI_SYMBOL_H
#define ZZ_AI_SYMBOL_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAISymbolSuite "AI Symbol Suite"
#define kAISymbolSuiteVersion 1

typedef struct AISymbolSuite {
    /* [any message] Makes a new symbol definition holding a copy of `definitionArt` (which stays unchanged)
       and stores it in *newSymbol; `unlisted` non-zero keeps it out of the document's symbol list. Returns 0,
       kSPBadHandleError, kSPBadParameterError, kSPOutOfMemoryError (the host allows no more art). */
    SPErr(SPAPI* NewSymbolPattern)(AIPatternHandle* newSymbol, AIArtHandle definitionArt, AIBoolean unlisted);
} AISymbolSuite;

ZZ_EXTERN_C_END

#endif
