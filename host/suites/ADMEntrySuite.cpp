// ADMEntrySuite over the host's dialog model.
#include "ADMEntry.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AdmEntry* live(ADMEntryRef ref) {
    HostServices* host = HostServices::current();
    return host ? host->dialogs().entry(ref) : nullptr;
}

void SPAPI setText(ADMEntryRef entry, const char* text) {
    if (AdmEntry* e = live(entry)) e->text = text ? text : "";
}

void SPAPI setID(ADMEntryRef entry, int32_t entryID) {
    if (AdmEntry* e = live(entry)) e->id = entryID;
}

int32_t SPAPI getID(ADMEntryRef entry) {
    AdmEntry* e = live(entry);
    return e ? e->id : 0;
}

int32_t SPAPI getIndex(ADMEntryRef entry) {
    AdmEntry* e = live(entry);
    return e ? e->list->indexOf(e) : -1;
}

void SPAPI select(ADMEntryRef entry, AIBoolean selected) {
    if (AdmEntry* e = live(entry)) DialogModel::select(*e, selected != 0);
}

void SPAPI setPictureID(ADMEntryRef entry, int32_t pictureID, const char* name) {
    AdmEntry* e = live(entry);
    if (e == nullptr) return;
    e->pictureID = pictureID;
    e->pictureName = name ? name : "";
}

const ADMEntrySuite kSuite = {
    ZZ_OP(ADMEntrySuite, kADMEntrySuite, SetText, setText),
    ZZ_OP(ADMEntrySuite, kADMEntrySuite, SetID, setID),
    ZZ_OP(ADMEntrySuite, kADMEntrySuite, GetID, getID),
    ZZ_OP(ADMEntrySuite, kADMEntrySuite, GetIndex, getIndex),
    ZZ_OP(ADMEntrySuite, kADMEntrySuite, Select, select),
    ZZ_OP(ADMEntrySuite, kADMEntrySuite, SetPictureID, setPictureID),
};

} // namespace

void registerADMEntrySuite(SuiteRegistry& registry) {
    registry.add(kADMEntrySuite, kADMEntrySuiteVersion, &kSuite);
}

} // namespace zz
