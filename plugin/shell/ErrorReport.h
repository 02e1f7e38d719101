// The error dialog that tells the user why a message failed, and the about box.
#ifndef ZZ_PLUGIN_SHELL_ERROR_REPORT_H
#define ZZ_PLUGIN_SHELL_ERROR_REPORT_H

#include "ADMItem.h"
#include "SPMessages.h"
#include "plugin/resources/ResourceIds.h"

// The plug-in's error list (string list) and the dialog templates of the two dialogs.
constexpr int32_t kErrorStringList = ZZ_ERROR_STRING_LIST;
constexpr int32_t kErrorDialogID = ZZ_ERROR_DIALOG_ID;
constexpr int32_t kAboutDialogID = ZZ_ABOUT_DIALOG_ID;

// Error dialog items: the message text and the code text. The templates' OK button is the host's default
// item.
constexpr int32_t kErrorMessageItemID = ZZ_ERROR_MESSAGE_ITEM;
constexpr int32_t kErrorCodeItemID = ZZ_ERROR_CODE_ITEM;
static_assert(ZZ_DIALOG_OK_ITEM == kADMDefaultItemID,
              "the templates' OK button must end a modal dialog as OK");

// Shows the error dialog for `error`: the message that the error list gives for the code (or the list's last
// message for a code it does not hold) and the code itself. Shows nothing for 0 or the cancel code, without
// the ADM Basic and ADM Dialog suites, or when the list cannot be read as far as the message.
void reportError(const SPMessageData* message, SPErr error);

// Shows the about box; always answers 0.
SPErr showAboutBox(const SPMessageData* message);

// A notify procedure that only runs the host's default handling (so OK closes the dialog).
void SPAPI defaultOnlyNotify(ADMItemRef item, ADMNotifierRef notifier);

#endif
