/*
 * ADMItem.h - the items of a dialog: values, texts, states and notifiers.
 *
 * Every function is [dialog life] and takes an item of a dialog that is open (from ADM Dialog GetItem or
 * CreateItem). No function returns a status: called outside its time, or with an item that names no live item
 * (for instance one of a dialog that Modal has already closed), a function that sets something does nothing
 * and one that reads something returns 0, false, null or the empty text.
 */
#ifndef ZZ_ADM_ITEM_H
#define ZZ_ADM_ITEM_H

#include "ZZTypes.h"
#include "ADMDialog.h"
#include "ADMNotifier.h"

ZZ_EXTERN_C_BEGIN

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 4

typedef struct _ADMList* ADMListRef;

/* Called when the item notifies (the user changed it, or SendNotify). Returns nothing. Without a notify
   procedure the host does the default handling itself; with one, the procedure calls DefaultNotify when it
   wants it. */
typedef void(SPAPI* ADMItemNotifyProc)(ADMItemRef item, ADMNotifierRef notifier);

/* Fonts (SetFont). */
enum { kADMDefaultFont = 0, kADMDialogFontBold = 5 };
/* Units (SetUnits). */
enum { kADMNoUnits = 0 };
/* List box styles (SetItemStyle). */
enum { kADMSingleSelectListBoxStyle = 2 };

typedef struct ADMItemSuite {
    /* [dialog life] Installs `proc` as the item's notify procedure; null removes it, so that the host's
       default handling runs alone. Returns nothing. */
    void(SPAPI* SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc proc);

    /* [dialog life] The host's own handling of `notifier` (which may be null): a button with id
       kADMDefaultItemID or kADMCancelItemID ends the modal dialog with its id; other items have nothing
       further to do. Meant to be called from the item's notify procedure. Returns nothing. */
    void(SPAPI* DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);

    /* [dialog life] Sends a notification of type `notifierType` (null: kADMUserChangedNotifier) to `item`,
       running its notify procedure (or the default handling) before returning. Returns nothing. */
    void(SPAPI* SendNotify)(ADMItemRef item, const char* notifierType);

    /* [dialog life] Returns the dialog the item belongs to, or null for an item that is not live. */
    ADMDialogRef(SPAPI* GetDialog)(ADMItemRef item);

    /* [dialog life] Returns the item's id (from the template or CreateItem), or 0 for an item that is not
       live. */
    int32_t(SPAPI* GetID)(ADMItemRef item);

    /* [dialog life] Returns the entry list of a popup list or list box (see ADMList.h), null for any other
       item. The list lives as long as its item. */
    ADMListRef(SPAPI* GetList)(ADMItemRef item);

    /* [dialog life] Sets the item's style, a value whose meaning depends on the item type (for a list box
       kADMSingleSelectListBoxStyle). Returns nothing. */
    void(SPAPI* SetItemStyle)(ADMItemRef item, int32_t style);

    /* [dialog life] Shows the item (`show` non-zero) or hides it. A hidden item keeps its value and text.
       Returns nothing. */
    void(SPAPI* Show)(ADMItemRef item, AIBoolean show);

    /* [dialog life] Returns non-zero when the item is shown (items are shown when made). */
    AIBoolean(SPAPI* IsVisible)(ADMItemRef item);

    /* [dialog life] Enables the item (`enable` non-zero) or disables it; a disabled item is shown but the
       user cannot change it. Returns nothing. */
    void(SPAPI* Enable)(ADMItemRef item, AIBoolean enable);

    /* [dialog life] Returns non-zero when the item is enabled (items are enabled when made). */
    AIBoolean(SPAPI* IsEnabled)(ADMItemRef item);

    /* [dialog life] Gives the item the keyboard focus (`activate` non-zero), taking it from every other item
       of the dialog, or takes the focus from it. Returns nothing. */
    void(SPAPI* Activate)(ADMItemRef item, AIBoolean activate);

    /* [dialog life] Selects the whole text of an edit field, so that typing replaces it. Returns nothing. */
    void(SPAPI* SelectAll)(ADMItemRef item);

    /* [dialog life] Sets the font of the item's text: kADMDefaultFont or kADMDialogFontBold. Returns nothing.
     */
    void(SPAPI* SetFont)(ADMItemRef item, int32_t font);

    /* [dialog life] Sets the item's text (null: the empty text); the host copies it. A numeric field given a
       text that reads as a number also takes that number as its value, clamped into its range. Returns
       nothing. */
    void(SPAPI* SetText)(ADMItemRef item, const char* text);

    /* [dialog life] Copies the text the item shows into `text`: at most maxLength - 1 characters and a
       terminator. A numeric field shows its value, with the decimal places SetPrecision gave. Does nothing
       when `text` is null or maxLength is below 1; an item that is not live gives the empty text. Returns
       nothing. */
    void(SPAPI* GetText)(ADMItemRef item, char* text, int32_t maxLength);

    /* [dialog life] Sets the units a numeric field shows its value in; kADMNoUnits for a plain number.
       Returns nothing. */
    void(SPAPI* SetUnits)(ADMItemRef item, int32_t units);

    /* [dialog life] Sets the decimal places a numeric field shows, 0 to 10 (values outside are taken as the
       nearer end). Returns nothing. */
    void(SPAPI* SetPrecision)(ADMItemRef item, int32_t places);

    /* [dialog life] Sets the item's value: the number of a numeric field, the state of a check box (0 off,
       1 on). A value outside the item's range is clamped into the range. Returns nothing. */
    void(SPAPI* SetIntValue)(ADMItemRef item, int32_t value);

    /* [dialog life] Returns the item's value rounded to the nearest integer (within the 32-bit range), 0 for
       an item that is not live. */
    int32_t(SPAPI* GetIntValue)(ADMItemRef item);

    /* [dialog life] Sets the item's value as SetIntValue does; a NaN is ignored. Returns nothing. */
    void(SPAPI* SetFloatValue)(ADMItemRef item, AIReal value);

    /* [dialog life] Returns the item's value, 0 for an item that is not live. */
    AIReal(SPAPI* GetFloatValue)(ADMItemRef item);

    /* [dialog life] Sets the item's value to 1 (`value` non-zero) or 0, clamped into the item's range.
       Returns nothing. */
    void(SPAPI* SetBooleanValue)(ADMItemRef item, AIBoolean value);

    /* [dialog life] Returns 1 when the item's value is not 0, else 0. */
    AIBoolean(SPAPI* GetBooleanValue)(ADMItemRef item);

    /* [dialog life] Set the lower (Min) or upper (Max) end of the item's range; the current value is clamped
       into the new range at once and every later value too. An item has no range until one is set; a NaN
       bound is ignored. Return nothing. */
    void(SPAPI* SetMinIntValue)(ADMItemRef item, int32_t value);
    void(SPAPI* SetMaxIntValue)(ADMItemRef item, int32_t value);
    void(SPAPI* SetMinFloatValue)(ADMItemRef item, AIReal value);
    void(SPAPI* SetMaxFloatValue)(ADMItemRef item, AIReal value);
} ADMItemSuite;

ZZ_EXTERN_C_END

#endif
