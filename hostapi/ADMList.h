/* ADMList.h - the entries of popup lists and list boxes. Every function is [dialog life]. */
#ifndef ZZ_ADM_LIST_H
#define ZZ_ADM_LIST_H

#include "ZZTypes.h"
#include "ADMItem.h"

ZZ_EXTERN_C_BEGIN

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

typedef struct _ADMEntry* ADMEntryRef;

typedef struct ADMListSuite {
    /* Height of every entry in pixels. */
    void(SPAPI* SetEntryHeight)(ADMListRef list, int32_t height);
    /* Inserts a new, empty entry at position `index` (0 to the entry count) and returns it; null when the
       index is out of range. */
    ADMEntryRef(SPAPI* InsertEntry)(ADMListRef list, int32_t index);
    /* Returns the entry at position `index`, or null. */
    ADMEntryRef(SPAPI* IndexEntry)(ADMListRef list, int32_t index);
    /* Returns the active (selected) entry, or null when none is. */
    ADMEntryRef(SPAPI* GetActiveEntry)(ADMListRef list);
    /* Returns the number of entries. */
    int32_t(SPAPI* NumberOfEntries)(ADMListRef list);
} ADMListSuite;

ZZ_EXTERN_C_END

#endif
