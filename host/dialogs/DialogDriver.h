// Who plays the user's part while a modal dialog is up, and who watches dialogs come and go.
//
// A desktop host runs a modal dialog as a nested event loop on its user-interface thread: the loop takes the
// user's events (clicks, typed values, chosen entries) and turns each into a notification of the item it
// touches, until some item ends the dialog. The host's Modal builds the dialog and runs its init procedure;
// then it hands the dialog to a DialogDriver, which is that loop. A script plays recorded actions; an
// interactive front end pumps the events a person makes.
#ifndef ZZ_HOST_DIALOGS_DIALOG_DRIVER_H
#define ZZ_HOST_DIALOGS_DIALOG_DRIVER_H

#include <cstdint>
#include <string_view>

namespace zz {

struct AdmDialog;
class DialogModel;

class DialogDriver {
  public:
    virtual ~DialogDriver() = default;
    // Runs the shown dialog until it has ended (`dialog.endedWith` is set). Changes reach the plug-in as
    // notifications sent through `model`. A driver that returns with the dialog still open has given up: the
    // host then ends the dialog with the Cancel item.
    virtual void run(DialogModel& model, AdmDialog& dialog) = 0;
};

// Ends every dialog the way a user does who clicks one item: the item's notifier runs (or the default
// handling, which ends the dialog for OK and Cancel); a notifier that leaves the dialog open does not keep it
// open, the dialog then ends with that item's id all the same.
void endWithItem(DialogModel& model, AdmDialog& dialog, int32_t item);

class DialogObserver {
  public:
    virtual ~DialogObserver() = default;
    // A modal dialog was asked for. Dialogs opened from within another one nest: every opened() is matched
    // by one ended(), innermost first.
    virtual void opened(std::string_view name, int32_t resource) = 0;
    // The dialog was built and its init procedure ran: the items are as the user first sees them.
    virtual void shown(const AdmDialog& dialog) = 0;
    // The dialog ended with `result`, the item that ended it, or -1 when it could not be made.
    virtual void ended(int32_t result) = 0;
};

} // namespace zz

#endif
