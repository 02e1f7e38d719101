/* AIPath.h - the segments of path art. Segment numbers and counts are 16-bit. */
#ifndef ZZ_AI_PATH_H
#define ZZ_AI_PATH_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 4

typedef struct AIPathSuite {
    /* [any message] Stores the number of segments of `path` in *count. Returns 0, kSPBadHandleError,
       kBadArtTypeErr (not a path). */
    SPErr(SPAPI* GetPathSegmentCount)(AIArtHandle path, int16_t* count);

    /* [any message] Copies `count` segments starting at `segNumber` into `segments`.
       Returns 0, kSPBadHandleError, kBadArtTypeErr, kSPBadParameterError (range outside the path). */
    SPErr(SPAPI* GetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count,
                                  AIPathSegment* segments);

    /* [any message] Overwrites `count` segments starting at `segNumber`. Segments that lie at or beyond the
       end of the path are appended, so writing at segNumber == current count grows the path; a gap (segNumber
       greater than the count) is an error. Returns 0, kSPBadHandleError, kBadArtTypeErr,
       kSPBadParameterError, kTooManySegmentsErr, kSPOutOfMemoryError (the host allows no more art). */
    SPErr(SPAPI* SetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count,
                                  const AIPathSegment* segments);

    /* [any message] Stores whether `path` is closed in *closed. Returns 0, kSPBadHandleError, kBadArtTypeErr.
     */
    SPErr(SPAPI* GetPathClosed)(AIArtHandle path, AIBoolean* closed);

    /* [any message] Opens or closes `path`. Returns 0, kSPBadHandleError, kBadArtTypeErr. */
    SPErr(SPAPI* SetPathClosed)(AIArtHandle path, AIBoolean closed);
} AIPathSuite;

ZZ_EXTERN_C_END

#endif
