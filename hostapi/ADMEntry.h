/*
 * ADMEntry.h - one entry of a popup list or list box: its text, id, picture and selection.
 *
 * Every function is [dialog life] and takes an entry of a list of a dialog that is open (from ADM List
 * InsertEntry, IndexEntry or GetActiveEntry). An entry lives as long as its list, that is as long as its item.
 * No function returns a status: called outside its time, or with an entry that names no live entry (for
 * instance one of a dialog that Modal has already closed), a function that sets something does nothing and
 * one that reads something returns 0 (GetID) or -1 (GetIndex).
 */
#ifndef ZZ_ADM_ENTRY_H
#define ZZ_ADM_ENTRY_H

#include "ZZTypes.h"
#include "ADMList.h"

ZZ_EXTERN_C_BEGIN

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

typedef struct ADMEntrySuite {
    /* [dialog life] Sets the entry's text; the host copies it, and null sets the empty text. Returns
       nothing. */
    void(SPAPI* SetText)(ADMEntryRef entry, const char* text);

    /* [dialog life] Sets the entry's id, a number of the plug-in's choosing (0 when made). Returns nothing. */
    void(SPAPI* SetID)(ADMEntryRef entry, int32_t entryID);

    /* [dialog life] Returns the entry's id, or 0 for an entry that is not live. */
    int32_t(SPAPI* GetID)(ADMEntryRef entry);

    /* [dialog life] Returns the entry's position in its list (0 first), or -1 for an entry that is not
       live. */
    int32_t(SPAPI* GetIndex)(ADMEntryRef entry);

    /* [dialog life] Selects the entry (`select` non-zero), making it the active entry of its list and
       deselecting every other, or deselects it, leaving the list with no active entry. Sends no
       notification. Returns nothing. */
    void(SPAPI* Select)(ADMEntryRef entry, AIBoolean select);

    /* [dialog life] Sets the entry's picture: bitmap resource `pictureID` of the plug-in that made the dialog
       (`name` may be null). The host reads the bitmap when it draws the entry; an id that names no bitmap
       draws none. Returns nothing. */
    void(SPAPI* SetPictureID)(ADMEntryRef entry, int32_t pictureID, const char* name);
} ADMEntrySuite;

ZZ_EXTERN_C_END

#endif
