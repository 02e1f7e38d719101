/*
 * SPBasic.h - the basic suite: the one way in to every other host service.
 *
 * The host passes its basic suite in every message (SPMessageData.basic). A plug-in acquires the other suites
 * through it by name and version, compares host strings with it, and releases what it acquired.
 */
#ifndef ZZ_SP_BASIC_H
#define ZZ_SP_BASIC_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
    /* [any message] Looks up the suite `name` of version `version` and stores its function table in *suite.
       Every acquisition of the same suite returns the same table; each one must be balanced by one
       ReleaseSuite. Returns 0, kSPSuiteNotFoundError (no such name or version, *suite set to null),
       kSPBadParameterError (a null argument). The table belongs to the host and stays valid until the
       matching release. */
    SPErr(SPAPI* AcquireSuite)(const char* name, int32_t version, const void** suite);

    /* [any message] Gives back one acquisition of `name` / `version`. Returns 0, or kSPSuiteNotFoundError
       when that suite is not currently held by the caller. */
    SPErr(SPAPI* ReleaseSuite)(const char* name, int32_t version);

    /* [any message] Compares two host strings for exact equality (byte for byte). Returns non-zero when
       equal. A null string equals nothing, not even another null. */
    SPBoolean(SPAPI* IsEqual)(const char* token1, const char* token2);
} SPBasicSuite;

ZZ_EXTERN_C_END

#endif
