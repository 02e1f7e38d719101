/* ADMItem.h - the items of a dialog: values, texts, states and notifiers. Every function is [dialog life]. */
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
    /* Installs `proc` as the item's notify procedure (null removes it). */
    void(SPAPI* SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc proc);
    /* The host's own handling of `notifier`: a button with id kADMDefaultItemID or kADMCancelItemID ends the
       modal dialog with its id; other items have nothing further to do. */
    void(SPAPI* DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);
    /* Sends a notification of type `notifierType` (null: kADMUserChangedNotifier) to `item`, running its
       notify procedure (or the default handling) before returning. */
    void(SPAPI* SendNotify)(ADMItemRef item, const char* notifierType);
    /* Returns the item's dialog. */
    ADMDialogRef(SPAPI* GetDialog)(ADMItemRef item);
    /* Returns the item's id. */
    int32_t(SPAPI* GetID)(ADMItemRef item);
    /* Returns the list of a popup list or list box, null for other items. */
    ADMListRef(SPAPI* GetList)(ADMItemRef item);
    void(SPAPI* SetItemStyle)(ADMItemRef item, int32_t style);
    void(SPAPI* Show)(ADMItemRef item, AIBoolean show);
    AIBoolean(SPAPI* IsVisible)(ADMItemRef item);
    void(SPAPI* Enable)(ADMItemRef item, AIBoolean enable);
    AIBoolean(SPAPI* IsEnabled)(ADMItemRef item);
    /* Gives the item the keyboard focus. */
    void(SPAPI* Activate)(ADMItemRef item, AIBoolean activate);
    /* Selects the whole text of an edit field. */
    void(SPAPI* SelectAll)(ADMItemRef item);
    void(SPAPI* SetFont)(ADMItemRef item, int32_t font);
    /* Sets the item's text; the host copies it. */
    void(SPAPI* SetText)(ADMItemRef item, const char* text);
    /* Copies the item's text into `text` (at most maxLength - 1 characters and a terminator). */
    void(SPAPI* GetText)(ADMItemRef item, char* text, int32_t maxLength);
    void(SPAPI* SetUnits)(ADMItemRef item, int32_t units);
    /* Decimal places shown by a numeric field. */
    void(SPAPI* SetPrecision)(ADMItemRef item, int32_t places);
    /* Numeric values. Setting a value outside the item's range clamps it into the range. */
    void(SPAPI* SetIntValue)(ADMItemRef item, int32_t value);
    int32_t(SPAPI* GetIntValue)(ADMItemRef item);
    void(SPAPI* SetFloatValue)(ADMItemRef item, AIReal value);
    AIReal(SPAPI* GetFloatValue)(ADMItemRef item);
    void(SPAPI* SetBooleanValue)(ADMItemRef item, AIBoolean value);
    AIBoolean(SPAPI* GetBooleanValue)(ADMItemRef item);
    void(SPAPI* SetMinIntValue)(ADMItemRef item, int32_t value);
    void(SPAPI* SetMaxIntValue)(ADMItemRef item, int32_t value);
    void(SPAPI* SetMinFloatValue)(ADMItemRef item, AIReal value);
    void(SPAPI* SetMaxFloatValue)(ADMItemRef item, AIReal value);
} ADMItemSuite;

ZZ_EXTERN_C_END

#endif
