/* AIEnvelope.h - envelopes: art bent into the shape of another object or of a warp. */
#ifndef ZZ_AI_ENVELOPE_H
#define ZZ_AI_ENVELOPE_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIEnvelopeSuite "AI Envelope Suite"
#define kAIEnvelopeSuiteVersion 1

typedef struct AIEnvelopeOptions {
    int32_t deformOptions; /* 0: deform the art only */
    int32_t fidelity;      /* 0 to 100 */
} AIEnvelopeOptions;

/* Warp styles 1 (arc) to 15 (twist). */
enum { kFirstWarpStyle = 1, kLastWarpStyle = 15 };

typedef struct AIEnvelopeSuite {
    /* [any message] Puts the `count` art objects of `art` into a new envelope whose shape is `envelopeObject`
       (which the envelope takes over). Stores the envelope in *envelope; it takes the place of the first art.
       Returns 0, kSPBadHandleError, kSPBadParameterError. */
    SPErr(SPAPI* MakeEnvelope)(AIArtHandle* art, int32_t count, AIArtHandle envelopeObject,
                               const AIEnvelopeOptions* options, AIArtHandle* envelope);

    /* [any message] Replaces the shape of `envelope` with a warp of `warpStyle` (1 to 15), `bend`, horizontal
       and vertical distortion (each -1 to 1) and, when `rotate` is set, the vertical orientation.
       Returns 0, kSPBadHandleError, kBadArtTypeErr (not an envelope), kSPBadParameterError. */
    SPErr(SPAPI* ResetWithWarp)(AIArtHandle envelope, int32_t warpStyle, AIReal bend, AIReal horizontal,
                                AIReal vertical, AIBoolean rotate);
} AIEnvelopeSuite;

ZZ_EXTERN_C_END

#endif
