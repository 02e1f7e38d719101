/* AIUser.h - conversions between numbers and the host's length-prefixed texts. */
#ifndef ZZ_AI_USER_H
#define ZZ_AI_USER_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 5

typedef struct AIUserSuite {
    /* [any message] Writes `value` with `decimals` places after the point (0 to 10; 0 writes no point) into
       the length-prefixed buffer `text` of 256 bytes; negative values get a leading "-". Returns 0,
       kSPBadParameterError (null buffer, decimals out of range, non-finite value). */
    SPErr(SPAPI* NumberToText)(AIReal value, int16_t decimals, unsigned char* text);

    /* [any message] Reads a decimal number (optional sign, digits, optional point and digits) from the
       length-prefixed `text` and stores it in *value. Leading blanks are skipped; the number must fill the
       rest. Returns 0, kSPBadParameterError (null argument, empty text, not a number). */
    SPErr(SPAPI* TextToNumber)(const unsigned char* text, AIReal* value);
} AIUserSuite;

ZZ_EXTERN_C_END

#endif
