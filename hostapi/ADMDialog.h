/* ADMDialog.h - modal dialogs built from a module's dialog templates. */
#ifndef ZZ_ADM_DIALOG_H
#define ZZ_ADM_DIALOG_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 3

typedef struct _ADMDialog* ADMDialogRef;
typedef struct _ADMItem* ADMItemRef;
typedef void* ADMUserData;

/* Dialog styles. */
enum { kADMModalDialogStyle = 0, kADMAlertDialogStyle = 1 };

/* Item type names (CreateItem). */
#define kADMSpinEditType "ADM Spin Edit Type"
#define kADMTextStaticType "ADM Text Static Type"
#define kADMTextCheckBoxType "ADM Text Check Box Type"
#define kADMPopupListType "ADM Popup List Type"
#define kADMListBoxType "ADM List Box Type"
#define kADMTextPushButtonType "ADM Text Push Button Type"
#define kADMPicturePushButtonType "ADM Picture Push Button Type"
#define kADMFrameType "ADM Frame Type"

/* Item ids that every dialog understands: the button that confirms and the one that cancels. */
enum { kADMDefaultItemID = 1, kADMCancelItemID = 2 };

/* An item rectangle in pixels of the dialog's content area, origin at the top left. */
typedef struct ADMRect {
    int32_t left, top, right, bottom;
} ADMRect;

/* Runs once per dialog, after the template's items exist and before the dialog is shown. A non-zero result
   cancels the dialog: Modal then returns kADMCancelItemID without showing it. */
typedef SPErr(SPAPI* ADMDialogInitProc)(ADMDialogRef dialog);
typedef SPErr(SPAPI* ADMItemInitProc)(ADMItemRef item);

typedef struct ADMDialogSuite {
    /* [any message] Creates dialog `name` from dialog template `dialogID` of `plugin`'s resources in `style`,
       keeps `userData` for GetUserData, runs `initProc` (may be null) and shows the dialog until an item ends
       it. Returns the id of the item that ended it (kADMDefaultItemID for OK, kADMCancelItemID for Cancel),
       or -1 when the dialog could not be made (no template, no host window). The dialog and its items are
       destroyed before Modal returns. */
    int32_t(SPAPI* Modal)(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
                          ADMDialogInitProc initProc, ADMUserData userData, int32_t options);

    /* [dialog life] Returns the user data that Modal was given. */
    ADMUserData(SPAPI* GetUserData)(ADMDialogRef dialog);

    /* [dialog life] Returns the item with id `itemID`, or null. */
    ADMItemRef(SPAPI* GetItem)(ADMDialogRef dialog, int32_t itemID);

    /* [dialog life] Creates an item of the type named `itemType` (see the k...Type names) with id `itemID` at
       `bounds`. Returns the new item, or null (unknown type, id already in use). */
    ADMItemRef(SPAPI* CreateItem)(ADMDialogRef dialog, int32_t itemID, const char* itemType,
                                  const ADMRect* bounds, ADMItemInitProc initProc, ADMUserData data,
                                  int32_t options);

    /* [dialog life] Resizes the dialog's content area to `width` x `height` pixels. */
    void(SPAPI* Size)(ADMDialogRef dialog, int32_t width, int32_t height);

    /* [dialog life] Ends the modal dialog as soon as the current notifier returns; Modal returns `itemID`. */
    void(SPAPI* EndModal)(ADMDialogRef dialog, int32_t itemID, AIBoolean cancelling);
} ADMDialogSuite;

ZZ_EXTERN_C_END

#endif
