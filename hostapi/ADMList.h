/*
 * ADMList.h - the entries of a popup list or list box, in the order they are shown.
 *
 * Every function is [dialog life] and takes the list of an item of a dialog that is open (from ADM Item
 * GetList). A list lives as long as its item, and its entries as long as the list. No function returns a
 * status: called outside its time, or with a list that names no live list, a function that sets something does
 * nothing and one that reads something returns 0 or null.
 */
#ifndef ZZ_ADM_LIST_H
#define ZZ_ADM_LIST_H

#include "ZZTypes.h"
#include "ADMItem.h"

ZZ_EXTERN_C_BEGIN

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

typedef struct _ADMEntry* ADMEntryRef;

typedef struct ADMListSuite {
    /* [dialog life] Sets the height in pixels of every entry of the list, as it is drawn. Returns nothing. */
    void(SPAPI* SetEntryHeight)(ADMListRef list, int32_t height);

    /* [dialog life] Inserts a new entry at position `index` (0 to the entry count; the entries from there on
       move one down) and returns it: no text, id 0, no picture, not selected. Returns null, inserting
       nothing, when the index is out of range. */
    ADMEntryRef(SPAPI* InsertEntry)(ADMListRef list, int32_t index);

    /* [dialog life] Returns the entry at position `index` (0 first), or null when there is none. */
    ADMEntryRef(SPAPI* IndexEntry)(ADMListRef list, int32_t index);

    /* [dialog life] Returns the active (selected) entry, or null when none is. */
    ADMEntryRef(SPAPI* GetActiveEntry)(ADMListRef list);

    /* [dialog life] Returns the number of entries, or 0 for a list that is not live. */
    int32_t(SPAPI* NumberOfEntries)(ADMListRef list);
} ADMListSuite;

ZZ_EXTERN_C_END

#endif
