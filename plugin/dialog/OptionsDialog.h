// The options dialog of the zigzag tool: seven pages of items over the settings record, the notifiers that
// keep it consistent while it is open, the OK step and the preset popup.
#ifndef ZZ_PLUGIN_DIALOG_OPTIONS_DIALOG_H
#define ZZ_PLUGIN_DIALOG_OPTIONS_DIALOG_H

#include "ADMDialog.h"
#include "ADMItem.h"

// The dialog's init procedure: sizes the dialog, creates every item from the settings record, installs the
// notifiers and shows the page shown last. Always returns 0.
SPErr SPAPI initOptionsDialog(ADMDialogRef dialog);

// Page buttons 300 to 306: shows the button's page, bolds its label and stores it in optionsPage.
void SPAPI pageButtonNotify(ADMItemRef item, ADMNotifierRef notifier);
// "Number of reflections" (30) and "Link Zigzag 2 to 1" (80): stores both and enables the reflection items
// and design list 2 to match.
void SPAPI reflectionLinkNotify(ADMItemRef item, ADMNotifierRef notifier);
// Fill and stroke colour popups (240, 243): stores both modes and enables the swatch and cycle fields.
void SPAPI colorModeNotify(ADMItemRef item, ADMNotifierRef notifier);
// Design lists 5 and 6: store the chosen design.
void SPAPI design1ListNotify(ADMItemRef item, ADMNotifierRef notifier);
void SPAPI design2ListNotify(ADMItemRef item, ADMNotifierRef notifier);

// OK (item 1): ends the dialog and reads every item back into the record, then derives the scaling factors.
void SPAPI applyOptionsDialog(ADMItemRef item, ADMNotifierRef notifier);

// The preset popup (item 3): loads the chosen preset into the record and the items.
void SPAPI presetPopupNotify(ADMItemRef item, ADMNotifierRef notifier);

#endif
