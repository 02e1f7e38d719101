// Modal dialogs: built from the module's dialog templates, run through their init procedure, then run by the
// dialog driver until an item ends them.
#include "host/suites/HostServices.h"

#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"

namespace zz {

namespace {

// The item type a template control becomes.
std::string itemTypeOf(const DialogItem& control) {
    const uint32_t style = control.style;
    switch (control.classAtom) {
    case 0x80: // button
        switch (style & 0xF) {
        case 2:
        case 3:
        case 5:
        case 6:
            return kADMTextCheckBoxType; // check boxes and three-state boxes
        case 7:
            return kADMFrameType; // group box
        default:
            return kADMTextPushButtonType;
        }
    case 0x82: // static
        switch (style & 0x1F) {
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
            return kADMFrameType; // rectangles and frames
        default:
            return kADMTextStaticType;
        }
    case 0x83:
        return kADMListBoxType;
    case 0x85:
        return kADMPopupListType;
    default:
        return kADMTextStaticType;
    }
}

// Dialog units of an 8-point "MS Sans Serif" template to pixels (base units 6 x 13).
int32_t toPixelsX(int32_t units) {
    return units * 6 / 4;
}
int32_t toPixelsY(int32_t units) {
    return units * 13 / 8;
}

} // namespace

int32_t HostServices::runModal(const std::string& name, int32_t dialogID, int32_t style,
                               ADMDialogInitProc initProc, ADMUserData userData) {
    if (observer_ != nullptr) observer_->opened(name, dialogID);

    std::optional<DialogTemplate> layout;
    if (resources() != nullptr && dialogID > 0 && dialogID <= 0xFFFF) {
        try {
            layout = loadDialog(*resources(), static_cast<uint16_t>(dialogID));
        } catch (const ResourceError&) {
            layout.reset(); // a malformed template cannot be shown
        }
    }
    if (!layout) {
        if (driver_ != nullptr) driver_->notShown();
        if (observer_ != nullptr) observer_->ended(-1);
        return -1;
    }

    AdmDialog& dialog = dialogs_.open(name, dialogID, style, userData);
    dialog.width = toPixelsX(layout->width);
    dialog.height = toPixelsY(layout->height);
    for (const DialogItem& control : layout->items) {
        const ADMRect rect{toPixelsX(control.x), toPixelsY(control.y), toPixelsX(control.x + control.width),
                           toPixelsY(control.y + control.height)};
        // Template controls may share an id (unnamed labels); only items created at run time must be unique.
        AdmItem* item = dialogs_.createItem(dialog, control.id, itemTypeOf(control), rect, true);
        if (item != nullptr) item->text = control.text;
    }

    // The init procedure; a non-zero result cancels the dialog before it is shown.
    bool shown = true;
    if (initProc != nullptr && initProc(toRef(&dialog)) != kSPNoError) {
        shown = false;
        dialog.endedWith = kADMCancelItemID;
    }
    if (observer_ != nullptr) observer_->shown(dialog);

    if (shown && !dialog.endedWith) {
        if (driver_ != nullptr)
            driver_->run(dialogs_, dialog);
        else
            endWithItem(dialogs_, dialog, kADMDefaultItemID);
        // A driver that gave up leaves the dialog to be cancelled.
        if (!dialog.endedWith) dialog.endedWith = kADMCancelItemID;
    } else if (driver_ != nullptr) {
        driver_->notShown();
    }

    const int32_t result = *dialog.endedWith;
    dialogs_.close(dialog);
    if (observer_ != nullptr) observer_->ended(result);
    return result;
}

} // namespace zz
