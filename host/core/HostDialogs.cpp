// Modal dialogs: built from the module's dialog templates, run through their init procedure, recorded, and
// ended as the session says.
#include "host/core/Host.h"

#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"

namespace zz {

namespace {

// The options dialog, which a session ends with Cancel unless it says otherwise.
constexpr int32_t kOptionsDialogResource = 16201;

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

int32_t Host::runModal(const std::string& name, int32_t dialogID, int32_t style, ADMDialogInitProc initProc,
                       ADMUserData userData) {
    const std::optional<int32_t> requestedClose = nextClose_;
    nextClose_.reset(); // a "close" belongs to the first dialog its event opens

    // The record takes its place in the order dialogs were opened; it is completed when the dialog ends.
    const std::size_t recordIndex = dialogRecords_.size();
    dialogRecords_.push_back(DialogRecord{name, dialogID, -1, {}});

    std::optional<DialogTemplate> layout;
    if (resources() != nullptr && dialogID > 0 && dialogID <= 0xFFFF) {
        try {
            layout = loadDialog(*resources(), static_cast<uint16_t>(dialogID));
        } catch (const ResourceError&) {
            layout.reset(); // a malformed template cannot be shown
        }
    }
    if (!layout) return -1;

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

    DialogRecord& record = dialogRecords_[recordIndex];
    for (const auto& item : dialog.items) {
        std::string& text = record.items[item->id];
        if (!text.empty()) text += "\n";
        text += item->shownText();
    }

    if (shown && !dialog.endedWith) {
        // The user clicks the closing item: its notifier runs, or the host's default handling does.
        const int32_t close = requestedClose.value_or(dialogID == kOptionsDialogResource ? kADMCancelItemID
                                                                                         : kADMDefaultItemID);
        if (AdmItem* item = dialog.item(close)) dialogs_.notify(*item, kADMUserChangedNotifier);
        // A notifier that does not end the dialog would leave it open for ever: the session ends it anyway.
        if (!dialog.endedWith) dialog.endedWith = close;
    }

    const int32_t result = *dialog.endedWith;
    dialogRecords_[recordIndex].result = result;
    dialogs_.close(dialog);
    return result;
}

} // namespace zz
