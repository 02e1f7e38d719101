/* AIRandom.h - the host's pseudo-random sequence, shared by everything that draws from it. */
#ifndef ZZ_AI_RANDOM_H
#define ZZ_AI_RANDOM_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIRandomSuite "AI Random Suite"
#define kAIRandomSuiteVersion 3

typedef struct AIRandomSuite {
    /* [any message] Returns the next number of the sequence, uniform in 0 to 1 (both ends possible). */
    AIReal(SPAPI* FloatRnd)(void);
    /* [any message] Restarts the sequence from `seed`. */
    void(SPAPI* SetRndSeed)(int32_t seed);
} AIRandomSuite;

ZZ_EXTERN_C_END

#endif
