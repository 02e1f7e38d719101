/* AITag.h - named values attached to art. */
#ifndef ZZ_AI_TAG_H
#define ZZ_AI_TAG_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAITagSuite "AI Tag Suite"
#define kAITagSuiteVersion 2

/* The tag type this host stores: `value` points to a NUL-terminated string, copied by the host. */
#define kTagStringType "string"

typedef struct AITagSuite {
    /* [any message] Sets (or replaces) tag `name` of `object` to `value` of `type`.
       Returns 0, kSPBadHandleError, kSPBadParameterError (unknown type, null argument). */
    SPErr(SPAPI* SetTag)(AIArtHandle object, const char* name, const char* type, const void* value);
    /* [any message] Copies the string value of tag `name` into `value` (at most maxLength bytes, terminated).
       Returns 0, kSPBadHandleError, kResourceNotFoundErr (no such tag). */
    SPErr(SPAPI* GetTag)(AIArtHandle object, const char* name, char* value, int32_t maxLength);
} AITagSuite;

ZZ_EXTERN_C_END

#endif
