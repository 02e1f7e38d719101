/* AIArt.h - art objects of the current document: creation, copies, bounds and the art tree. */
#ifndef ZZ_AI_ART_H
#define ZZ_AI_ART_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 9

typedef struct AIArtSuite {
    /* [any message] Makes a new, empty art object of `type` (kGroupArt, kPathArt, kCompoundPathArt) in the
       current layer, placed by `paintOrder` relative to `prep` (prep is ignored for kPlaceAboveAll and
       kPlaceBelowAll and may be null then). The object takes the document's current paint. Stores it in
       *newArt. Returns 0, kNoDocumentErr, kSPBadParameterError (unknown type or order, missing prep),
       kSPBadHandleError, kSPOutOfMemoryError (the host allows no more art). */
    SPErr(SPAPI* NewArt)(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt);

    /* [any message] Removes `art` (and its children) from the document. Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* DisposeArt)(AIArtHandle art);

    /* [any message] Copies `art` with everything it holds (segments, style, opacity, tags, children) and
       places the copy by `paintOrder` relative to `prep`. Stores the copy in *newArt. Returns 0,
       kSPBadHandleError, kSPBadParameterError, kSPOutOfMemoryError (the host allows no more art). */
    SPErr(SPAPI* DuplicateArt)(AIArtHandle art, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt);

    /* [any message] Stores the geometric bounds of `art` (anchors and handles of every path it holds; strokes
       are not included) in *bounds. Empty art gives all four sides 0. Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* GetArtBounds)(AIArtHandle art, AIRealRect* bounds);

    /* [any message] Stores the art type of `art` in *type. Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* GetArtType)(AIArtHandle art, int16_t* type);

    /* [any message] Stores the first (bottom-most) child of a group, compound path or envelope in *child, or
       null when it has none or is not a container. Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);

    /* [any message] Stores the next art above `art` in the same container in *sibling, or null.
       Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
} AIArtSuite;

ZZ_EXTERN_C_END

#endif
