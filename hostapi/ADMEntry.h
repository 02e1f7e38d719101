/* ADMEntry.h - one entry of a list. Every function is [dialog life]. */
#ifndef ZZ_ADM_ENTRY_H
#define ZZ_ADM_ENTRY_H

#include "ZZTypes.h"
#include "ADMList.h"

ZZ_EXTERN_C_BEGIN

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

typedef struct ADMEntrySuite {
    /* The entry's text; the host copies it. */
    void(SPAPI* SetText)(ADMEntryRef entry, const char* text);
    void(SPAPI* SetID)(ADMEntryRef entry, int32_t entryID);
    int32_t(SPAPI* GetID)(ADMEntryRef entry);
    /* Returns the entry's position in its list. */
    int32_t(SPAPI* GetIndex)(ADMEntryRef entry);
    /* Selecting an entry makes it the active one of its list (and deselects the others). */
    void(SPAPI* Select)(ADMEntryRef entry, AIBoolean select);
    /* The entry's picture: bitmap resource `pictureID` of the dialog's plug-in (`name` may be null). */
    void(SPAPI* SetPictureID)(ADMEntryRef entry, int32_t pictureID, const char* name);
} ADMEntrySuite;

ZZ_EXTERN_C_END

#endif
