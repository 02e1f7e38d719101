/* AIDocument.h - facts of the current document. */
#ifndef ZZ_AI_DOCUMENT_H
#define ZZ_AI_DOCUMENT_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 7

typedef struct AIDocumentSetup {
    AIReal width;  /* page width in points */
    AIReal height; /* page height in points */
    AIBoolean showPlacedImages;
    int16_t pageView;
} AIDocumentSetup;

typedef struct AIDocumentSuite {
    /* [any message] Stores the colour model in *model: kDocGrayColor, kDocRGBColor or kDocCMYKColor.
       Returns 0, kNoDocumentErr, kSPBadParameterError. */
    SPErr(SPAPI* GetDocumentColorModel)(int16_t* model);
    /* [any message] Fills *setup with the page setup. Returns 0, kNoDocumentErr, kSPBadParameterError. */
    SPErr(SPAPI* GetDocumentSetup)(AIDocumentSetup* setup);
} AIDocumentSuite;

ZZ_EXTERN_C_END

#endif
