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
#include <cstddef>
#include <optional>
#include <string>
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
    // A dialog was asked for but never shown: it could not be made, or its init procedure ended it. What the
    // driver meant to do with it is void.
    virtual void notShown() {}
};

// Ends every dialog the way a user does who clicks one item: the item's notifier runs (or the default
// handling, which ends the dialog for OK and Cancel); a notifier that leaves the dialog open does not keep it
// open, the dialog then ends with that item's id all the same.
void endWithItem(DialogModel& model, AdmDialog& dialog, int32_t item);

// What a user does to one item of the shown dialog, each change followed by the notification the host
// delivers for it ("ADM User Changed Notifier"). A user can reach only an item that is shown and enabled, and
// only do to it what its kind allows; otherwise nothing happens and the reason comes back ("item 31 is
// disabled").
//
// Types `number` into a spin edit (the field takes the keyboard focus; a field of whole numbers takes the
// nearest one; the range clamps it), or ticks (non-zero) or clears (0) a check box.
std::optional<std::string> typeValue(DialogModel& model, AdmDialog& dialog, int32_t item, double number);
// Chooses the entry with id `entry` of a popup list or list box: it becomes the list's active entry.
std::optional<std::string> chooseEntry(DialogModel& model, AdmDialog& dialog, int32_t item, int32_t entry);
// Clicks a push button or picture button (its notifier, or the default handling that ends the dialog for
// OK and Cancel), or a check box, which turns it over.
std::optional<std::string> clickItem(DialogModel& model, AdmDialog& dialog, int32_t item);

class DialogObserver {
  public:
    virtual ~DialogObserver() = default;
    // A modal dialog was asked for. Dialogs opened from within another one nest: every opened() is matched
    // by one ended(), innermost first.
    virtual void opened(std::string_view name, int32_t resource) = 0;
    // The dialog was built and its init procedure ran: the items are as the user first sees them.
    virtual void shown(const AdmDialog& dialog) = 0;
    // A user's action on the shown dialog was played (`refusal` empty) or refused for the reason given; the
    // dialog is as the action left it. Actions are counted from 0 within their dialog.
    virtual void acted(const AdmDialog& dialog, std::size_t action, std::string_view refusal) {
        (void)dialog, (void)action, (void)refusal;
    }
    // An action came after the dialog had ended and was not played.
    virtual void skipped(std::size_t action, std::string_view reason) { (void)action, (void)reason; }
    // The dialog ended with `result`, the item that ended it, or -1 when it could not be made.
    virtual void ended(int32_t result) = 0;
};

} // namespace zz

#endif
