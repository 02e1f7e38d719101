// ADMListSuite over the host's dialog model.
#include "ADMList.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AdmList* live(ADMListRef ref) {
    HostServices* host = HostServices::current();
    return host ? host->dialogs().list(ref) : nullptr;
}

void SPAPI setEntryHeight(ADMListRef list, int32_t height) {
    if (AdmList* l = live(list)) l->entryHeight = height;
}

ADMEntryRef SPAPI insertEntry(ADMListRef list, int32_t index) {
    AdmList* l = live(list);
    return l ? toRef(HostServices::current()->dialogs().insertEntry(*l, index)) : nullptr;
}

ADMEntryRef SPAPI indexEntry(ADMListRef list, int32_t index) {
    AdmList* l = live(list);
    if (l == nullptr || index < 0 || index >= static_cast<int32_t>(l->entries.size())) return nullptr;
    return toRef(l->entries[static_cast<std::size_t>(index)].get());
}

ADMEntryRef SPAPI getActiveEntry(ADMListRef list) {
    AdmList* l = live(list);
    return l ? toRef(l->active()) : nullptr;
}

int32_t SPAPI numberOfEntries(ADMListRef list) {
    AdmList* l = live(list);
    return l ? static_cast<int32_t>(l->entries.size()) : 0;
}

const ADMListSuite kSuite = {
    ZZ_OP(ADMListSuite, kADMListSuite, SetEntryHeight, setEntryHeight),
    ZZ_OP(ADMListSuite, kADMListSuite, InsertEntry, insertEntry),
    ZZ_OP(ADMListSuite, kADMListSuite, IndexEntry, indexEntry),
    ZZ_OP(ADMListSuite, kADMListSuite, GetActiveEntry, getActiveEntry),
    ZZ_OP(ADMListSuite, kADMListSuite, NumberOfEntries, numberOfEntries),
};

} // namespace

void registerADMListSuite(SuiteRegistry& registry) {
    registry.add(kADMListSuite, kADMListSuiteVersion, &kSuite);
}

} // namespace zz
