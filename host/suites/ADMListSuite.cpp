// ADMListSuite over the host's model.
#include "ADMList.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMListSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMListSuite, kADMListSuite, SetEntryHeight),
    ZZ_NOT_IMPLEMENTED(ADMListSuite, kADMListSuite, InsertEntry),
    ZZ_NOT_IMPLEMENTED(ADMListSuite, kADMListSuite, IndexEntry),
    ZZ_NOT_IMPLEMENTED(ADMListSuite, kADMListSuite, GetActiveEntry),
    ZZ_NOT_IMPLEMENTED(ADMListSuite, kADMListSuite, NumberOfEntries),
};

} // namespace

void registerADMListSuite(SuiteRegistry& registry) { registry.add(kADMListSuite, kADMListSuiteVersion, &kSuite); }

} // namespace zz
