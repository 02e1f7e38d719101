// ADMDialogSuite over the host's dialog model.
#include "ADMDialog.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AdmDialog* liveDialog(ADMDialogRef ref) {
    HostServices* host = HostServices::current();
    return host ? host->dialogs().dialog(ref) : nullptr;
}

int32_t SPAPI modal(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
                    ADMDialogInitProc initProc, ADMUserData userData, int32_t) {
    HostServices* host = HostServices::current();
    if (host == nullptr || host->plugin(plugin) == nullptr) return -1;
    return host->runModal(name ? name : "", dialogID, style, initProc, userData);
}

ADMUserData SPAPI getUserData(ADMDialogRef dialog) {
    AdmDialog* live = liveDialog(dialog);
    return live ? live->userData : nullptr;
}

ADMItemRef SPAPI getItem(ADMDialogRef dialog, int32_t itemID) {
    AdmDialog* live = liveDialog(dialog);
    return live ? toRef(live->item(itemID)) : nullptr;
}

ADMItemRef SPAPI createItem(ADMDialogRef dialog, int32_t itemID, const char* itemType, const ADMRect* bounds,
                            ADMItemInitProc initProc, ADMUserData data, int32_t) {
    AdmDialog* live = liveDialog(dialog);
    if (live == nullptr || itemType == nullptr || bounds == nullptr) return nullptr;
    AdmItem* item = HostServices::current()->dialogs().createItem(*live, itemID, itemType, *bounds);
    if (item == nullptr) return nullptr;
    item->userData = data;
    if (initProc != nullptr) initProc(toRef(item));
    return toRef(item);
}

void SPAPI size(ADMDialogRef dialog, int32_t width, int32_t height) {
    if (AdmDialog* live = liveDialog(dialog)) {
        live->width = width;
        live->height = height;
    }
}

void SPAPI endModal(ADMDialogRef dialog, int32_t itemID, AIBoolean) {
    if (AdmDialog* live = liveDialog(dialog))
        if (!live->endedWith) live->endedWith = itemID;
}

const ADMDialogSuite kSuite = {
    ZZ_OP(ADMDialogSuite, kADMDialogSuite, Modal, modal),
    ZZ_OP(ADMDialogSuite, kADMDialogSuite, GetUserData, getUserData),
    ZZ_OP(ADMDialogSuite, kADMDialogSuite, GetItem, getItem),
    ZZ_OP(ADMDialogSuite, kADMDialogSuite, CreateItem, createItem),
    ZZ_OP(ADMDialogSuite, kADMDialogSuite, Size, size),
    ZZ_OP(ADMDialogSuite, kADMDialogSuite, EndModal, endModal),
};

} // namespace

void registerADMDialogSuite(SuiteRegistry& registry) {
    registry.add(kADMDialogSuite, kADMDialogSuiteVersion, &kSuite);
}

} // namespace zz
