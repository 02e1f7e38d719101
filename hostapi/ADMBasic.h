/* ADMBasic.h - strings from a module's string lists and simple alerts. */
#ifndef ZZ_ADM_BASIC_H
#define ZZ_ADM_BASIC_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 2

typedef struct ADMBasicSuite {
    /* [any message] Copies entry `stringIndex` (1-based) of string list `stringID` of `plugin`'s resources
       into `string`, at most maxLength - 1 characters and a terminator. A list L is read from the module's
       string table: entry i is string number L + i. An entry that is missing reads as the empty string.
       Returns 0, kSPBadParameterError (null buffer, maxLength below 1), kResourceNotFoundErr (no such list).
     */
    SPErr(SPAPI* GetIndexString)(SPPluginRef plugin, int32_t stringID, int32_t stringIndex, char* string,
                                 int32_t maxLength);
    /* [any message] Shows `message` in a modal alert with one OK button and returns when it is closed. */
    void(SPAPI* MessageAlert)(const char* message);
} ADMBasicSuite;

ZZ_EXTERN_C_END

#endif
